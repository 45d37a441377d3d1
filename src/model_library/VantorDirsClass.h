#pragma once
// The directions of a controller and their one-second state machine.

#include "DirClass.h"

#include <cstdint>
#include <vector>

namespace vantor::model {

class VantorDirsClass {
public:
    // Defaults for directions that do not name their own times.
    std::uint16_t TminG = 10;
    std::uint16_t TminR = 5;
    std::uint16_t Takk = 4;
    std::vector<DirClass> dirs; // direction n is dirs[n - 1]; at most 255

    std::size_t Count() const { return dirs.size(); }
    // The direction with 1-based number n, or null when n is 0 or beyond the list.
    DirClass *Find(std::int64_t n)
    {
        return n >= 1 && n <= static_cast<std::int64_t>(dirs.size()) ? &dirs[n - 1] : nullptr;
    }
    const DirClass *Find(std::int64_t n) const
    {
        return n >= 1 && n <= static_cast<std::int64_t>(dirs.size()) ? &dirs[n - 1] : nullptr;
    }
};

} // namespace vantor::model
