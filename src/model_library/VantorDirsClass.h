#pragma once
// The directions of a controller and their one-second state machine.

#include "DirClass.h"
#include "TriggerClass.h"

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

    // The three passes of a model step, run after the signal objects have written
    // their commands; each goes over all directions in number order, so a lower-
    // numbered conflicting direction has already moved on in this step when a higher
    // one looks at it, and a higher-numbered one still shows the previous step.
    //
    // StepAll: timers, targets (green control modes), stages, transitions; leaves
    // directions that may start green undecided. ResolveAll: decides those against
    // their conflicts, higher priorities first. UpdateAll: green shows as 3 while a
    // softly conflicting direction is active.
    void StepAll(const std::vector<TriggerClass> &triggers);
    void ResolveAll();
    void UpdateAll();

private:
    void Step(DirClass &dir, const std::vector<TriggerClass> &triggers);
    void DecideTarget(DirClass &dir, std::int32_t T, std::uint8_t shown,
                      const std::vector<TriggerClass> &triggers);
    void Resolve(DirClass &dir);
    // Whether a hard-conflicting direction heads for green (its target, as it stands
    // at this moment of the pass): that ends dir's green once gdur has passed.
    bool Demand(const DirClass &dir) const;
    // The largest conflict kind of dir whose other direction is active: green, in a
    // transition, or red (or leaving green) for less than the conflict's clearance time.
    std::uint8_t ActiveConflict(const DirClass &dir) const;
};

} // namespace vantor::model
