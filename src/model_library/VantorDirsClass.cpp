#include "VantorDirsClass.h"

#include <algorithm>

namespace vantor::model {
namespace {

// Commanded or target states of 128 and above (negative as a signed byte) are the
// special states all-red, yellow flashing and off.
inline bool IsSpecial(std::uint8_t state)
{
    return state >= 128;
}

inline std::int8_t Signed(std::uint8_t value)
{
    return static_cast<std::int8_t>(value);
}

// Times are 32-bit; sums wrap instead of overflowing.
inline std::int32_t Add(std::int32_t a, std::int64_t b)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(a) + b);
}

bool HasTacts(const PromtactClass *program)
{
    return program != nullptr && program->HasTacts();
}

// While a transition runs: the state of the last tact that begins with `remaining`
// seconds to go.
void ShowTact(DirClass &dir, const PromtactClass *program, std::int32_t remaining)
{
    if (program == nullptr)
        return;
    for (const Tact &tact : program->tacts)
        if (tact.sec == remaining)
            dir.state = tact.val;
}

// Starts a transition program that has tacts: its first tact shows at once.
void StartTransition(DirClass &dir, const PromtactClass &program, std::uint8_t stage)
{
    dir.timer = -std::int32_t{program.tacts.front().sec};
    dir.state = program.tacts.front().val;
    dir.stage = stage;
}

} // namespace

void VantorDirsClass::StepAll(const std::vector<TriggerClass> &triggers)
{
    for (DirClass &dir : dirs)
        Step(dir, triggers);
}

void VantorDirsClass::ResolveAll()
{
    for (DirClass &dir : dirs)
        Resolve(dir);
}

void VantorDirsClass::UpdateAll()
{
    for (DirClass &dir : dirs)
        if (dir.state == kStateGreen && ActiveConflict(dir) >= 5)
            dir.state = kStateGreenConflict;
}

void VantorDirsClass::DecideTarget(DirClass &dir, std::int32_t T, std::uint8_t shown,
                                   const std::vector<TriggerClass> &triggers)
{
    if (dir.cmd != kStateGreen) {
        dir.target = dir.cmd;
        return;
    }
    const std::uint8_t mode = dir.mode;
    if (mode == 0 || mode >= 9) {
        dir.target = kStateGreen;
        return;
    }
    const bool active = TriggerActive(triggers, dir.trig);
    const bool green = shown == kStateGreen;
    // Green time counted from now when already green, else from the start of green.
    const auto goGreen = [&](bool fromNow) {
        dir.target = kStateGreen;
        dir.greenEnd = fromNow ? Add(T, dir.gdur) : dir.gdur;
    };
    if (dir.restart) { // the phase has just changed
        switch (mode) {
        case 1:
            if (green)
                goGreen(true);
            else if (dir.prevcmd != kStateGreen)
                goGreen(false);
            break;
        case 2:
        case 3:
        case 4:
            if (!green && dir.prevcmd == kStateGreen)
                break; // still waiting for the green commanded before
            if (active)
                goGreen(green);
            else
                dir.target = kStateRed;
            break;
        case 5:
        case 6:
        case 7:
            if (active)
                goGreen(green);
            else
                dir.target = kStateRed;
            break;
        default: // 8
            if (active)
                dir.target = kStateRed;
            else
                goGreen(green);
            break;
        }
        return;
    }
    if (green) {
        if (dir.stage != kStageGreen)
            return; // a transition tact that shows green
        if (mode == 8) {
            if (active)
                dir.target = kStateRed;
            return;
        }
        if (active && (mode == 2 || mode == 4 || mode == 5 || mode == 7))
            dir.greenEnd = std::max(dir.greenEnd, Add(T, dir.ext));
        if ((mode == 1 || mode == 3 || mode == 4 || mode == 6 || mode == 7) && T >= dir.greenEnd)
            dir.target = kStateRed;
        return;
    }
    switch (mode) {
    case 1:
        if (dir.prevcmd != kStateGreen)
            goGreen(false);
        break;
    case 2:
    case 3:
    case 4:
        if (dir.prevcmd == kStateGreen)
            break; // the decision of the phase start stands
        if (active)
            goGreen(false);
        else
            dir.target = kStateRed;
        break;
    case 5:
    case 6:
    case 7:
        if (active)
            goGreen(false);
        else
            dir.target = kStateRed;
        break;
    default: // 8
        if (active)
            dir.target = kStateRed;
        else
            goGreen(false);
        break;
    }
}

void VantorDirsClass::Step(DirClass &dir, const std::vector<TriggerClass> &triggers)
{
    dir.done = false;
    dir.events = 0;
    dir.timer = Add(dir.timer, 1);
    std::int32_t T = dir.timer;
    DecideTarget(dir, T, dir.state, triggers);
    dir.restart = false;
    dir.prevcmd = dir.cmd;

    if (T < 0) { // a transition runs; -T seconds to go
        if (dir.stage == kStageGreenToRed) {
            dir.events |= kEvNotRed | kEvGreenToRed;
            ShowTact(dir, dir.G2R, -T);
        } else if (dir.stage == kStageRedToGreen) {
            dir.events |= kEvNotRed | kEvRedToGreen;
            ShowTact(dir, dir.R2G, -T);
        }
        dir.done = true;
        return;
    }
    if (T == 0) { // a transition ends
        if (dir.stage == kStageGreenToRed) {
            dir.events |= kEvRedBegins | kEvRed;
            dir.stage = kStageRed;
            dir.state = kStateRed;
        } else if (dir.stage == kStageRedToGreen) {
            dir.events |= kEvNotRed | kEvGreenEntered | kEvGreen;
            dir.stage = kStageGreen;
            dir.state = kStateGreen;
        }
        dir.done = true;
        return;
    }
    switch (dir.stage) {
    case kStageSpecial:
        if (IsSpecial(dir.target)) {
            if (dir.target != dir.state) { // a new special state: its time starts now
                dir.timer = 0;
                T = 0;
            }
            dir.state = dir.target;
            dir.events |= kEvSpecial;
            if (dir.target == kStateAllRed) {
                dir.events |= kEvSpecial | kEvRed;
                if (T >= dir.TminR) {
                    if (T == dir.TminR)
                        dir.events |= kEvRedAtMin;
                    dir.events |= kEvRedMinReached;
                }
            }
        } else { // a special state (or the initial one) is always left through red
            dir.events |= kEvRedBegins;
            dir.stage = kStageRed;
            dir.state = kStateRed;
            dir.timer = 0;
        }
        dir.done = true;
        break;
    case kStageRed:
        if (T < dir.TminR) {
            dir.events |= kEvRed;
            dir.done = true;
        } else if (dir.target == kStateRed) {
            dir.events |= kEvRed;
            if (T == dir.TminR)
                dir.events |= kEvRedAtMin;
            dir.events |= kEvRedMinReached;
            dir.done = true;
        } else if (IsSpecial(dir.target)) {
            dir.events |= kEvLeavesRed | kEvSpecial;
            dir.state = dir.target;
            dir.timer = 0;
            dir.stage = kStageSpecial;
            dir.done = true;
        } else {
            dir.state = kStateNone; // wants green (or state 0): the conflict pass decides
        }
        break;
    case kStageGreen:
        if (T < dir.gdur) {
            dir.events |= kEvNotRed | kEvGreen;
        } else if (Signed(dir.target) > 1 && !Demand(dir)) {
            dir.events |= kEvNotRed | kEvGreen;
            dir.state = kStateGreen;
            if (T == dir.gdur)
                dir.events |= kEvGreenAtDur;
            dir.events |= kEvGreenBeyondDur;
        } else {
            dir.events |= kEvGreenEnds;
            if (HasTacts(dir.G2R)) {
                StartTransition(dir, *dir.G2R, kStageGreenToRed);
                dir.events |= kEvNotRed | kEvGreenToRed;
            } else {
                dir.events |= kEvRedBegins;
                dir.state = kStateRed;
                dir.timer = 0;
                dir.stage = kStageRed;
            }
        }
        dir.done = true;
        break;
    default:
        // Stage 2 or 4 with a positive timer: only after a transition whose first tact
        // has sec 0 or less. Nothing happens here.
        break;
    }
}

bool VantorDirsClass::Demand(const DirClass &dir) const
{
    for (const Conflict &conflict : dir.conflicts) {
        if (conflict.kind < 10)
            continue;
        const DirClass *other = Find(conflict.dir);
        if (other != nullptr && Signed(other->target) > 1)
            return true;
    }
    return false;
}

std::uint8_t VantorDirsClass::ActiveConflict(const DirClass &dir) const
{
    std::uint8_t active = 0;
    for (const Conflict &conflict : dir.conflicts) {
        const DirClass *other = Find(conflict.dir);
        if (other == nullptr)
            continue;
        const bool busy =
            other->stage == kStageGreen || other->stage == kStageRedToGreen ||
            ((other->stage == kStageRed || other->stage == kStageGreenToRed) && other->timer < conflict.time);
        if (busy)
            active = std::max(active, conflict.kind);
    }
    return active;
}

void VantorDirsClass::Resolve(DirClass &dir)
{
    if (dir.done)
        return;
    // Higher priorities settle first (recursion only climbs in priority, so it ends);
    // equal priorities keep number order.
    for (const Conflict &conflict : dir.conflicts) {
        if (conflict.kind == 0)
            continue;
        DirClass *other = Find(conflict.dir);
        if (other != nullptr && dir.prio < other->prio)
            Resolve(*other);
    }
    const std::uint8_t active = ActiveConflict(dir);
    if (Signed(dir.target) <= 1) {
        dir.done = true;
        return;
    }
    if (active >= 10) { // green blocked
        if (dir.stage != kStageRed) {
            dir.events |= kEvRedBegins;
            dir.timer = 0;
            dir.stage = kStageRed;
        }
        dir.state = kStateRed;
        dir.events |= kEvRed;
        if (dir.timer == dir.TminR)
            dir.events |= kEvRedAtMin;
        dir.events |= kEvRedMinReached;
    } else { // green starts
        dir.events |= kEvLeavesRed;
        if (HasTacts(dir.R2G)) {
            StartTransition(dir, *dir.R2G, kStageRedToGreen);
            dir.events |= kEvNotRed | kEvRedToGreen;
        } else {
            // Green without a transition is green from this very step, so the
            // "is green" bit is set along with "green entered" (a src-11 trigger
            // clears in the step its direction turns green).
            dir.events |= kEvNotRed | kEvGreenEntered | kEvGreen;
            dir.state = kStateGreen;
            dir.timer = 0;
            dir.stage = kStageGreen;
        }
    }
    dir.done = true;
}

} // namespace vantor::model
