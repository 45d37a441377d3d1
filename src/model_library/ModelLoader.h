#pragma once
// Builds a ModelClass from the JSON text of a "vantor5" configuration object.

#include "JsonClass.h"
#include "ModelClass.h"

#include <cstdint>

namespace vantor::model {

// Loads the sections in this order, each with its defaults: "ver", "promtacts",
// "triggers", "dirs", "sig_group_types", "sig_groups", "sos". The first failure sets
// model.status and stops loading; what was loaded before stays. Returns the status
// (0 when everything loaded). Only memory exhaustion throws (std::bad_alloc); model
// then holds what was loaded so far and its status is still -1.
// The text is [first, end): end may be one past the closing brace or on it.
std::int32_t LoadModel(ModelClass &model, const char *first, const char *end);

} // namespace vantor::model
