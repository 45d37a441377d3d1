#include "SemaphoreObjectsClass.h"

#include <algorithm>

namespace vantor::model {
namespace {

// Special phases and the states they command.
constexpr std::uint8_t kPhaseAllRed = 13;
constexpr std::uint8_t kPhaseYellowFlashing = 14;
constexpr std::uint8_t kPhaseOff = 15;

// The calendar position plans are evaluated at: always weekday 1 (Monday) and 1 January.
constexpr int kToday = 1;    // weekday index 0 + 1
constexpr int kTodayKey = 0; // month index * 32 + day index
constexpr int kMaxDateKey = 383;

template <typename Plan>
const Plan *FindByNumber(const std::vector<Plan> &list, std::uint8_t number)
{
    for (const Plan &item : list)
        if (item.number == number)
            return &item;
    return nullptr;
}

} // namespace

bool SemaphoreObject::Active(std::int64_t trigger) const
{
    return triggers != nullptr && TriggerActive(*triggers, trigger);
}

const PhaseClass *SemaphoreObject::FindPhase(std::uint8_t number) const
{
    return FindByNumber(phases, number);
}

void SemaphoreObject::Step(VantorDirsClass &directions, std::uint32_t time, std::int8_t request)
{
    enteredPhase = 0;
    leftPhase = 0;
    tphase = static_cast<std::int32_t>(static_cast<std::uint32_t>(tphase) + 1u);
    if (request != 0) {
        yearNumber = weekNumber = dayNumber = cycleNumber = 0;
        SelectCycle(directions, time, request);
        return;
    }
    switch (enterMode) {
    case kProgramPhase:
        yearNumber = weekNumber = dayNumber = cycleNumber = 0;
        if (enterNumber != 0)
            SetPhase(directions, enterNumber);
        break;
    case kProgramCycle:
        yearNumber = weekNumber = dayNumber = 0;
        SelectCycle(directions, time, static_cast<std::int8_t>(enterNumber));
        break;
    case kProgramDay:
        yearNumber = weekNumber = 0;
        DayPlan(directions, time, enterNumber);
        break;
    case kProgramWeek:
        yearNumber = 0;
        WeekPlan(directions, time, enterNumber);
        break;
    case kProgramYear: YearPlan(directions, time, enterNumber); break;
    default: Idle(directions); break;
    }
}

// Positions of the direction list naming no direction are skipped.
void SemaphoreObject::PhaseCommand(VantorDirsClass &directions, const PhaseClass &phase)
{
    for (std::size_t k = 0; k < dirs.size() && k < phase.entries.size(); ++k) {
        DirClass *dir = directions.Find(dirs[k]);
        if (dir == nullptr)
            continue;
        const PhaseEntry &entry = phase.entries[k];
        dir->cmd = entry.cmd;
        dir->gdur = entry.time != 0 ? entry.time : dir->TminG;
        dir->ext = entry.ext != 0 ? entry.ext : dir->Takk;
        dir->mode = entry.mode;
        dir->trig = entry.trig;
        dir->prio = entry.prio != 0 ? entry.prio : dir->prior;
    }
}

// Off and yellow flashing are reached through all-red: until every direction of the
// list was ready in the previous step (red for TminR, or showing its special state),
// the list gets all-red.
void SemaphoreObject::SpecialCommand(VantorDirsClass &directions, std::uint8_t state)
{
    bool ready = true;
    for (std::uint8_t number : dirs) {
        const DirClass *dir = directions.Find(number);
        if (dir == nullptr)
            continue;
        const bool dirReady = (dir->events & kEvRed) != 0 ? (dir->events & kEvRedMinReached) != 0
                                                          : (dir->events & kEvSpecial) != 0;
        if (!dirReady) {
            ready = false;
            break;
        }
    }
    for (std::uint8_t number : dirs) {
        DirClass *dir = directions.Find(number);
        if (dir == nullptr)
            continue;
        dir->cmd = ready ? state : std::uint8_t{kStateAllRed};
        dir->gdur = dir->TminG;
    }
}

void SemaphoreObject::PhaseChange(VantorDirsClass &directions, std::uint8_t phase)
{
    leftPhase = currentPhase;
    enteredPhase = phase;
    currentPhase = reportedPhase = phase;
    tphase = 0;
    for (std::uint8_t number : dirs)
        if (DirClass *dir = directions.Find(number))
            dir->restart = true;
}

void SemaphoreObject::SetPhase(VantorDirsClass &directions, std::uint8_t number)
{
    if (number == kPhaseAllRed || number == kPhaseYellowFlashing || number == kPhaseOff) {
        SpecialCommand(directions, static_cast<std::uint8_t>(number - kPhaseAllRed + kStateAllRed));
        if (number != currentPhase) {
            PhaseChange(directions, number);
            tend = 0;
            min = ext = 0;
            stepKind = stepTrig = 0;
            stepIndex = 0;
        }
        return;
    }
    const PhaseClass *phase = FindPhase(number);
    if (phase == nullptr)
        return; // no such phase: nothing changes
    PhaseCommand(directions, *phase);
    if (number != currentPhase) {
        PhaseChange(directions, number);
        tend = 0;
        min = phase->Tmin;
        ext = phase->Takk;
        stepKind = stepTrig = 0;
    }
}

// Yellow flashing: what a signal object does when its program is missing or selects nothing.
void SemaphoreObject::Idle(VantorDirsClass &directions)
{
    SpecialCommand(directions, kStateYellowFlashing);
    if (currentPhase != kPhaseYellowFlashing) {
        PhaseChange(directions, kPhaseYellowFlashing);
        tend = 0;
        min = ext = 0;
        stepKind = stepTrig = 0;
        stepIndex = 0;
    }
}

void SemaphoreObject::SelectCycle(VantorDirsClass &directions, std::uint32_t time, std::int8_t number)
{
    cycleNumber = static_cast<std::uint8_t>(number);
    if (number == -1) {
        SetPhase(directions, kPhaseOff);
        return;
    }
    if (number == -3) {
        SetPhase(directions, kPhaseAllRed);
        return;
    }
    const CycleClass *cycle = number > 0 ? FindByNumber(cycles, static_cast<std::uint8_t>(number)) : nullptr;
    if (cycle == nullptr)
        Idle(directions); // 0, -2, other negative numbers, or no such cycle
    else if (cycle->T != 0)
        FixedTimeCycle(directions, time, *cycle);
    else
        StepDrivenCycle(directions, *cycle);
}

void SemaphoreObject::EnterStep(VantorDirsClass &directions, const CycleStep &step)
{
    const PhaseClass *phase = FindPhase(step.phase);
    if (phase == nullptr)
        return;
    PhaseCommand(directions, *phase);
    stepTrig = step.trig;
    stepKind = step.kind;
    min = step.min != 0 ? step.min : phase->Tmin;
    ext = step.ext != 0 ? step.ext : phase->Takk;
    if (step.phase == currentPhase)
        return;
    tphase = 0;
    tend = min;
    PhaseChange(directions, step.phase);
}

void SemaphoreObject::FixedTimeCycle(VantorDirsClass &directions, std::uint32_t time, const CycleClass &cycle)
{
    cyclePosition = cycle.T > 0 ? time % static_cast<std::uint32_t>(cycle.T) : 0;
    if (cycle.steps.empty()) {
        Idle(directions);
        return;
    }
    // The step with the greatest start not above the position (the later one among
    // equals); when every start lies above it, the last step of the previous cycle:
    // the greatest start, the earlier one among equals.
    const std::int64_t position = cyclePosition;
    std::size_t chosen = cycle.steps.size();
    for (std::size_t i = 0; i < cycle.steps.size(); ++i) {
        const std::int32_t start = cycle.steps[i].start;
        if (start <= position && (chosen == cycle.steps.size() || start >= cycle.steps[chosen].start))
            chosen = i;
    }
    if (chosen == cycle.steps.size()) {
        chosen = 0;
        for (std::size_t i = 1; i < cycle.steps.size(); ++i)
            if (cycle.steps[i].start > cycle.steps[chosen].start)
                chosen = i;
    }
    stepIndex = static_cast<std::uint8_t>(chosen);
    if (tphase >= min) // a phase is never left before its minimum
        EnterStep(directions, cycle.steps[chosen]);
}

void SemaphoreObject::StepDrivenCycle(VantorDirsClass &directions, const CycleClass &cycle)
{
    cyclePosition = 0;
    const std::size_t count = cycle.steps.size();
    if (count == 0) {
        Idle(directions);
        return;
    }
    if (stepIndex >= count)
        stepIndex = 0;
    const std::size_t searchStart = stepIndex;
    std::size_t at = count;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = (searchStart + k) % count;
        if (cycle.steps[i].phase == currentPhase) {
            at = i;
            break;
        }
    }
    if (at == count) { // the current phase is not in this cycle: start it
        stepIndex = 0;
        if (tphase >= min)
            EnterStep(directions, cycle.steps[0]);
        return;
    }

    const std::int32_t start = cycle.steps[at].start;
    bool advance = false;
    if (start < 0) {
        advance = Active(-std::int64_t{start}); // a step that lasts while trigger -start is off
    } else if (start > 0 && tphase >= start) {
        advance = true; // its length has passed
    } else {
        switch (stepKind) {
        case 1:
        case 3:
            if (Active(stepTrig))
                tend = std::max(tend, static_cast<std::int32_t>(std::int64_t{tphase} + ext));
            if (tphase >= min && stepKind == 3)
                advance = tend <= tphase;
            break;
        case 2: advance = tphase >= min; break;
        case 4:
        case 5: advance = tphase >= min && Active(stepTrig); break;
        default: break; // 0 and 6 and above stay
        }
    }
    if (!advance)
        return;

    // The next step that wants to run; the step the search began at always does.
    std::size_t next = at;
    for (std::size_t k = 1; k <= count; ++k) {
        const std::size_t i = (at + k) % count;
        const CycleStep &candidate = cycle.steps[i];
        bool take = i == searchStart;
        switch (candidate.kind) {
        case 0:
        case 4: take = true; break;
        case 1:
        case 2:
        case 3: take = take || Active(candidate.trig); break;
        case 5: take = take || !Active(candidate.trig); break;
        default: break; // skipped
        }
        if (take) {
            next = i;
            break;
        }
    }
    stepIndex = static_cast<std::uint8_t>(next);
    if (tphase >= min) // otherwise the switch waits for the minimum
        EnterStep(directions, cycle.steps[next]);
}

void SemaphoreObject::DayPlan(VantorDirsClass &directions, std::uint32_t time, std::uint8_t number)
{
    dayNumber = number;
    cycleNumber = 0; // levels below report 0 unless the decision passes through them
    const DayPlanClass *plan = number != 0 ? FindByNumber(dayPlans, number) : nullptr;
    if (plan == nullptr) {
        Idle(directions);
        return;
    }
    // Before the first entry of the day the last enabled entry (of the day before) holds.
    const DayPlanEntry *selected = nullptr;
    for (auto entry = plan->entries.rbegin(); entry != plan->entries.rend(); ++entry) {
        if (entry->hour >= 0) {
            selected = &*entry;
            break;
        }
    }
    const int minute = static_cast<int>((time / 60) % 1440);
    for (const DayPlanEntry &entry : plan->entries) {
        if (entry.hour < 0)
            continue; // sunrise and sunset entries are disabled
        if (entry.hour * 60 + entry.minute > minute)
            break;
        selected = &entry;
    }
    if (selected == nullptr || (selected->mode != kProgramPhase && selected->mode != kProgramCycle)) {
        Idle(directions);
    } else if (selected->mode == kProgramPhase) {
        if (selected->number != 0)
            SetPhase(directions, selected->number);
    } else {
        SelectCycle(directions, time, static_cast<std::int8_t>(selected->number));
    }
}

void SemaphoreObject::WeekPlan(VantorDirsClass &directions, std::uint32_t time, std::uint8_t number)
{
    weekNumber = number;
    dayNumber = cycleNumber = 0;
    const WeekPlanClass *plan = number != 0 ? FindByNumber(weekPlans, number) : nullptr;
    if (plan == nullptr) {
        Idle(directions);
        return;
    }
    const WeekPlanEntry *selected = nullptr;
    if (!plan->entries.empty() && plan->entries.back().weekday >= 1 && plan->entries.back().weekday <= 7)
        selected = &plan->entries.back();
    for (const WeekPlanEntry &entry : plan->entries) {
        if (entry.weekday == 0)
            continue;
        if (entry.weekday > kToday)
            break;
        selected = &entry;
    }
    switch (selected != nullptr ? selected->mode : std::uint8_t{kProgramNone}) {
    case kProgramCycle: SelectCycle(directions, time, static_cast<std::int8_t>(selected->number)); break;
    case kProgramDay: DayPlan(directions, time, selected->number); break;
    case kProgramPhase:
        if (selected->number != 0)
            SetPhase(directions, selected->number);
        break;
    default: Idle(directions); break;
    }
}

void SemaphoreObject::YearPlan(VantorDirsClass &directions, std::uint32_t time, std::uint8_t number)
{
    yearNumber = number;
    weekNumber = dayNumber = cycleNumber = 0;
    const YearPlanClass *plan = number != 0 ? FindByNumber(yearPlans, number) : nullptr;
    if (plan == nullptr) {
        Idle(directions);
        return;
    }
    const YearPlanEntry *selected = nullptr;
    if (!plan->entries.empty() && plan->entries.back().key >= 0 && plan->entries.back().key <= kMaxDateKey)
        selected = &plan->entries.back();
    for (const YearPlanEntry &entry : plan->entries) {
        if (entry.key < 0)
            continue;
        if (entry.key > kTodayKey)
            break;
        selected = &entry;
    }
    switch (selected != nullptr ? selected->mode : std::uint8_t{kProgramNone}) {
    case kProgramDay: DayPlan(directions, time, selected->number); break;
    case kProgramWeek: WeekPlan(directions, time, selected->number); break;
    case kProgramPhase:
        if (selected->number != 0)
            SetPhase(directions, selected->number);
        break;
    case kProgramCycle: SelectCycle(directions, time, static_cast<std::int8_t>(selected->number)); break;
    default: Idle(directions); break;
    }
}

} // namespace vantor::model
