#pragma once
// What the fuzzer does with one input, shared with the corpus replay of the normal
// test run: open the text as a configuration (end one past the text, then end on its
// last character), check the model's invariants, step a loaded model for a while
// (previews of every object and the whole controller), close.

#include "model_library/ModelClass.h"

#include <cstddef>
#include <string>

namespace vantor::model::fuzz {

// Empty when the model is consistent, otherwise what is wrong.
std::string CheckModelInvariants(const ModelClass &model, std::int32_t status);

// Runs one input; returns the first broken invariant, or an empty string.
std::string ExerciseModel(const char *text, std::size_t size);

} // namespace vantor::model::fuzz
