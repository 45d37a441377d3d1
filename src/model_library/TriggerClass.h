#pragma once
// A trigger: a one-bit input of the controller. The caller sets its value at every
// step; after the step its reset rule may clear it again.

#include <cstdint>
#include <vector>

namespace vantor::model {

class VantorDirsClass;
class SemaphoreObjectsClass;

struct TriggerArg {
    std::uint8_t values[3] = {}; // source, block number, detector number
    bool flags[6] = {};          // free, triggered, occupied, faulty, released, inverted
};

class TriggerClass {
public:
    // Configuration. log, negate and args are kept but do not drive the model: a
    // trigger's value always comes from the caller.
    std::uint8_t number = 0; // 1-based position in the list
    std::uint8_t log = 0;
    bool negate = false;               // "not"
    std::vector<TriggerArg> args;      // at most 255
    std::uint8_t src = 0;              // reset rule
    std::vector<std::int32_t> resArgs; // at most 255
    const VantorDirsClass *dirs = nullptr;
    const SemaphoreObjectsClass *sos = nullptr;

    // Run time: 0 or 1.
    std::uint8_t value = 0;

    // After the direction passes of a step: clears value when the reset rule src says
    // so. 0, 1: always. 2..14: when direction resArgs[0] showed a special state or had
    // event bit (src - 1) in this step. 15, 16, 17: when signal object resArgs[1] (1-based)
    // entered, is in or left phase resArgs[0]. 18 and above: never.
    void Reset();
};

// True when number names a trigger (1-based) whose value is 1.
inline bool TriggerActive(const std::vector<TriggerClass> &triggers, std::int64_t number)
{
    return number >= 1 && number <= static_cast<std::int64_t>(triggers.size()) &&
           triggers[number - 1].value == 1;
}

} // namespace vantor::model
