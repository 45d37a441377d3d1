#include "TriggerClass.h"

#include "SemaphoreObjectsClass.h"
#include "VantorDirsClass.h"

namespace vantor::model {

void TriggerClass::Reset()
{
    if (src <= 1) {
        value = 0;
        return;
    }
    if (src <= 14) {
        const DirClass *dir = resArgs.empty() || dirs == nullptr ? nullptr : dirs->Find(resArgs[0]);
        if (dir != nullptr && ((dir->events & kEvSpecial) != 0 || ((dir->events >> (src - 1)) & 1) != 0))
            value = 0;
        return;
    }
    if (src <= 17) {
        if (resArgs.size() < 2)
            return;
        // Phase first, signal object second (the configurator writes them the other
        // way round; they are read as they stand).
        const auto phase = static_cast<std::uint8_t>(resArgs[0]);
        const auto object = static_cast<std::uint8_t>(resArgs[1]);
        std::uint8_t seen = 0;
        if (sos != nullptr && object >= 1 && object <= sos->Count()) {
            const SemaphoreObject &so = sos->objects[object - 1];
            seen = src == 15 ? so.enteredPhase : src == 16 ? so.currentPhase : so.leftPhase;
        }
        if (phase == seen)
            value = 0;
    }
}

} // namespace vantor::model
