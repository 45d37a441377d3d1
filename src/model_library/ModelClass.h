#pragma once
// The whole model of one controller configuration: what the loader builds and the
// step sequence runs.

#include "PromtactClass.h"
#include "SemaphoreObjectsClass.h"
#include "SigGroupClass.h"
#include "TriggerClass.h"
#include "VantorDirsClass.h"

#include <cstdint>
#include <vector>

namespace vantor::model {

class ModelClass {
public:
    ModelClass() = default;
    ModelClass(const ModelClass &) = delete; // objects point into each other
    ModelClass &operator=(const ModelClass &) = delete;

    std::vector<PromtactClass> promtacts; // promtact n is promtacts[n - 1]; at most 255
    VantorDirsClass dirs;
    std::vector<TriggerClass> triggers;
    std::vector<SigGroupTypeClass> sigGroupTypes;
    std::vector<SigGroupClass> sigGroups;
    SemaphoreObjectsClass sos;
    std::uint32_t stepCounter = 0;
    std::int32_t status = -1; // -1 while loading, 0 loaded, otherwise why loading stopped

    // One second of a preview of signal object soIndex (the others are switched off),
    // as the C function next; the caller has checked that the model loaded. -11 for a
    // soIndex outside the signal objects, touching no buffer. Allocates nothing.
    std::int32_t Next(std::int32_t soIndex, std::int32_t request, const std::uint8_t *trigIn,
                      std::uint8_t *outPhase, std::uint8_t *outStates);
    // One second of the whole controller in automatic operation, as the C function
    // nextAll. Allocates nothing.
    std::int32_t NextAll(std::uint32_t time, std::uint8_t *trig, std::uint8_t *soPhase, std::uint8_t *soCycle,
                         std::uint8_t *soDay, std::uint8_t *soWeek, std::uint8_t *soYear,
                         std::uint8_t *dirStates, std::uint8_t *const *sgOut);

private:
    void TakeTriggerInputs(const std::uint8_t *inputs);
    void StepDirections();
    void ResetTriggers();
};

} // namespace vantor::model
