#pragma once
// The library's entry points as C++ functions. The exported C functions of
// libvantor_model.so forward to these; tests call them directly (they link the
// library's sources without the C exports, whose names would shadow the C library's
// open and close).
//
// There is one model per process, as the C interface has no handles. None of these
// throws; memory exhaustion while loading becomes a status.

#include "ModelClass.h"

#include <cstdint>

namespace vantor::model {

// Discards any model, then loads a new one from [first, last) (last may also be one
// past the closing brace: the character at last is never read). Returns its status.
std::int32_t Open(const char *first, const char *last) noexcept;

// One second of a preview (C function next). -1 without a model, the model's status
// when it did not load, -11 for a soIndex outside the signal objects, otherwise 0.
std::int32_t Next(std::int32_t soIndex, std::int32_t request, const std::uint8_t *trigIn,
                  std::uint8_t *outPhase, std::uint8_t *outStates) noexcept;

// One second of the whole controller (C function nextAll). -1 without a model, the
// model's status when it did not load, otherwise 0.
std::int32_t NextAll(std::uint32_t time, std::uint8_t *trig, std::uint8_t *soPhase, std::uint8_t *soCycle,
                     std::uint8_t *soDay, std::uint8_t *soWeek, std::uint8_t *soYear, std::uint8_t *dirStates,
                     std::uint8_t *const *sgOut) noexcept;

// Discards the model. -1 when there was none.
std::int32_t Close() noexcept;

// The current model, or null (for tests and the fuzzer).
ModelClass *CurrentModel() noexcept;

} // namespace vantor::model
