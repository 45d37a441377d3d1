#pragma once
// Signal-group types (which outputs light for which input states) and signal groups
// (a type fed by directions and triggers).

#include "TriggerClass.h"
#include "VantorDirsClass.h"

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

    // Sets the outputs from the first state row of the type whose input ranges hold
    // the current inputs (direction states and trigger values, signed), or from the
    // type's defaults. A group without type keeps its outputs.
    void Compute(const VantorDirsClass &directions, const std::vector<TriggerClass> &triggers);

private:
    std::int8_t Input(std::size_t j, const VantorDirsClass &directions,
                      const std::vector<TriggerClass> &triggers) const;
};

} // namespace vantor::model
