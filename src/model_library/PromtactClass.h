#pragma once
// A transition program ("promtact"): the signal states a direction shows while it
// changes between green and red.

#include <cstdint>
#include <vector>

namespace vantor::model {

struct Tact {
    // Seconds before the end of the transition at which this tact begins. The first
    // tact's sec is the length of the whole transition.
    std::int16_t sec = 0;
    std::uint8_t val = 0; // signal state shown from then on
};

class PromtactClass {
public:
    std::vector<Tact> tacts; // at most 255

    bool HasTacts() const { return !tacts.empty(); }
};

} // namespace vantor::model
