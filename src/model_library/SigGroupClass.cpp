#include "SigGroupClass.h"

#include <algorithm>

namespace vantor::model {

namespace {
constexpr std::int8_t kNoInput = -1; // 255: no source, or one that names nothing
} // namespace

// Input j: a direction's state, a trigger's value, or 255. A type with more inputs than
// the group has sources sees 255 for the missing ones, as for a source 0.
std::int8_t SigGroupClass::Input(std::size_t j, const VantorDirsClass &directions,
                                 const std::vector<TriggerClass> &triggers) const
{
    if (j >= sources.size())
        return kNoInput;
    const std::int8_t source = sources[j];
    if (source > 0) {
        const DirClass *dir = directions.Find(source);
        return dir != nullptr ? static_cast<std::int8_t>(dir->state) : kNoInput;
    }
    if (source < 0) {
        const std::size_t trigger = static_cast<std::size_t>(-source);
        return trigger <= triggers.size() ? static_cast<std::int8_t>(triggers[trigger - 1].value) : kNoInput;
    }
    return kNoInput;
}

void SigGroupClass::Compute(const VantorDirsClass &directions, const std::vector<TriggerClass> &triggers)
{
    if (type == nullptr)
        return;
    const std::uint8_t *chosen = type->defaults.data();
    for (std::size_t row = 0; row < type->stateCount; ++row) {
        const std::uint8_t *bytes = type->Row(row);
        bool match = true;
        for (std::size_t j = 0; j < type->inLength && match; ++j) {
            const std::int8_t input = Input(j, directions, triggers);
            match = static_cast<std::int8_t>(bytes[2 * j]) <= input &&
                    input <= static_cast<std::int8_t>(bytes[2 * j + 1]);
        }
        if (match) {
            chosen = bytes + 2 * type->inLength;
            break;
        }
    }
    std::copy_n(chosen, std::min(outputs.size(), type->OutputCount()), outputs.begin());
}

} // namespace vantor::model
