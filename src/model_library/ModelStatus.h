#pragma once
// Status codes of the model (the same values as the VANTOR_MODEL_* codes of the
// public header vantor_model.h).

#include <cstdint>

namespace vantor::model {

enum Status : std::int32_t {
    kStatusOk = 0,
    kStatusNoModel = -1, // also: model created, loading not finished
    kStatusBadVersion = -2,
    kStatusNoPromtacts = -3,
    kStatusNoTriggers = -4,
    kStatusNoDirs = -5,
    kStatusNoSos = -6,
    kStatusNoSigGroupTypes = -7,
    kStatusNoSigGroups = -8,
    kStatusListTooLong = -9,
    kStatusOutOfMemory = -10,
    kStatusBadSignalObject = -11,
};

} // namespace vantor::model
