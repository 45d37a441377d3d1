#pragma once
// Signal-group types (which outputs light for which input states) and signal groups
// (a type fed by directions and triggers).

#include <cstdint>
#include <vector>

namespace vantor::model {

class SigGroupTypeClass {
public:
    std::uint8_t type = 0;              // kept, no effect
    std::uint8_t inLength = 0;          // inputs per state row
    std::vector<std::uint8_t> defaults; // one byte per output: the outputs count; at most 255
    std::uint8_t stateCount = 0;
    // stateCount rows of RowSize() bytes: inLength pairs (lo, hi) of signed bytes, then
    // one byte per output.
    std::vector<std::uint8_t> states;

    std::size_t OutputCount() const { return defaults.size(); }
    std::size_t RowSize() const { return defaults.size() + 2u * inLength; }
    const std::uint8_t *Row(std::size_t i) const { return states.data() + i * RowSize(); }
};

class SigGroupClass {
public:
    const SigGroupTypeClass *type = nullptr;
    // A positive value is a direction number, -k is trigger number k, 0 no source.
    std::vector<std::int8_t> sources;  // at most 255
    std::vector<std::uint8_t> outputs; // one per output of the type; 3 after loading
    std::uint32_t trigCount = 0;       // elements of "trig"; kept, no effect
};

} // namespace vantor::model
