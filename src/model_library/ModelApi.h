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

// Discards the model. -1 when there was none.
std::int32_t Close() noexcept;

// The current model, or null (for tests and the fuzzer).
ModelClass *CurrentModel() noexcept;

} // namespace vantor::model
