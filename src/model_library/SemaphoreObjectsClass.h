#pragma once
// Signal objects (intersections): each decides once per step which phase its
// directions are in and writes the phase's commands into them.

#include "ProgramClasses.h"
#include "TriggerClass.h"
#include "VantorDirsClass.h"

#include <cstdint>
#include <vector>

namespace vantor::model {

class SemaphoreObject {
public:
    // Configuration.
    std::uint8_t enterMode = kProgramNone; // what the object runs in automatic operation
    std::uint8_t enterNumber = 0;
    std::vector<std::uint8_t> dirs; // 1-based direction numbers; position k = k-th direction
    std::vector<PhaseClass> phases;
    std::vector<CycleClass> cycles;
    std::vector<DayPlanClass> dayPlans;
    std::vector<WeekPlanClass> weekPlans;
    std::vector<YearPlanClass> yearPlans;
    const std::vector<TriggerClass> *triggers = nullptr;
    bool loaded = false;

    // Run time; all 0 after loading.
    std::int32_t tphase = 0;        // seconds in the current phase
    std::int32_t tend = 0;          // end of the current cycle step as extended by its trigger
    std::uint16_t min = 0;          // minimum time of the current phase or cycle step
    std::uint16_t ext = 0;          // extension time of the current cycle step
    std::uint8_t currentPhase = 0;  // phase in force (0 before the first)
    std::uint8_t reportedPhase = 0; // phase given to the caller
    std::uint8_t enteredPhase = 0;  // phase entered in this step, else 0
    std::uint8_t leftPhase = 0;     // phase left in this step, else 0
    std::uint8_t stepIndex = 0;     // current step of a cycle
    std::uint8_t stepKind = 0;
    std::uint8_t stepTrig = 0;
    std::uint32_t cyclePosition = 0; // time mod T of a fixed-time cycle
    std::uint8_t yearNumber = 0;
    std::uint8_t weekNumber = 0;
    std::uint8_t dayNumber = 0;
    std::uint8_t cycleNumber = 0;

    // One step: decides the phase and writes its commands into the directions.
    // time: seconds (time mod 86400 is the second of the day, fixed-time cycles run at
    // time mod T). request: 0 the object's own program, a positive number runs that
    // cycle, -1 off (phase 15), -3 all-red (phase 13), any other negative value
    // yellow flashing (phase 14).
    void Step(VantorDirsClass &directions, std::uint32_t time, std::int8_t request);

private:
    void PhaseCommand(VantorDirsClass &directions, const PhaseClass &phase);
    void SpecialCommand(VantorDirsClass &directions, std::uint8_t state);
    void PhaseChange(VantorDirsClass &directions, std::uint8_t phase);
    void SetPhase(VantorDirsClass &directions, std::uint8_t number);
    void Idle(VantorDirsClass &directions);
    void SelectCycle(VantorDirsClass &directions, std::uint32_t time, std::int8_t number);
    void EnterStep(VantorDirsClass &directions, const CycleStep &step);
    void FixedTimeCycle(VantorDirsClass &directions, std::uint32_t time, const CycleClass &cycle);
    void StepDrivenCycle(VantorDirsClass &directions, const CycleClass &cycle);
    void DayPlan(VantorDirsClass &directions, std::uint32_t time, std::uint8_t number);
    void WeekPlan(VantorDirsClass &directions, std::uint32_t time, std::uint8_t number);
    void YearPlan(VantorDirsClass &directions, std::uint32_t time, std::uint8_t number);
    const PhaseClass *FindPhase(std::uint8_t number) const;
    bool Active(std::int64_t trigger) const;
};

class SemaphoreObjectsClass {
public:
    std::vector<SemaphoreObject> objects; // in file order; at most 255

    std::size_t Count() const { return objects.size(); }
};

} // namespace vantor::model
