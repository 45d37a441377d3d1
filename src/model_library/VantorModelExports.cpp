// The C exports of libvantor_model.so. Only the shared library compiles this file:
// anything that links a definition of open/close replaces the C library's.
// Keep it free of <fcntl.h> and <unistd.h>, whose declarations clash with these.

#include "ModelApi.h"
#include "ModelStatus.h"
#include "vantor_model.h"

#define VANTOR_MODEL_EXPORT __attribute__((visibility("default")))

static_assert(VANTOR_MODEL_OK == vantor::model::kStatusOk);
static_assert(VANTOR_MODEL_NO_MODEL == vantor::model::kStatusNoModel);
static_assert(VANTOR_MODEL_BAD_VERSION == vantor::model::kStatusBadVersion);
static_assert(VANTOR_MODEL_NO_PROMTACTS == vantor::model::kStatusNoPromtacts);
static_assert(VANTOR_MODEL_NO_TRIGGERS == vantor::model::kStatusNoTriggers);
static_assert(VANTOR_MODEL_NO_DIRS == vantor::model::kStatusNoDirs);
static_assert(VANTOR_MODEL_NO_SOS == vantor::model::kStatusNoSos);
static_assert(VANTOR_MODEL_NO_SIG_GROUP_TYPES == vantor::model::kStatusNoSigGroupTypes);
static_assert(VANTOR_MODEL_NO_SIG_GROUPS == vantor::model::kStatusNoSigGroups);
static_assert(VANTOR_MODEL_LIST_TOO_LONG == vantor::model::kStatusListTooLong);
static_assert(VANTOR_MODEL_OUT_OF_MEMORY == vantor::model::kStatusOutOfMemory);
static_assert(VANTOR_MODEL_BAD_SIGNAL_OBJECT == vantor::model::kStatusBadSignalObject);

extern "C" {

VANTOR_MODEL_EXPORT int32_t open(const char *first, const char *last)
{
    return vantor::model::Open(first, last);
}

VANTOR_MODEL_EXPORT int32_t next(int32_t soIndex, int32_t request, const uint8_t *trigIn, uint8_t *outPhase,
                                 uint8_t *outStates)
{
    return vantor::model::Next(soIndex, request, trigIn, outPhase, outStates);
}

VANTOR_MODEL_EXPORT int32_t nextAll(uint32_t time, uint8_t *trig, uint8_t *soPhase, uint8_t *soCycle,
                                    uint8_t *soDay, uint8_t *soWeek, uint8_t *soYear, uint8_t *dirStates,
                                    uint8_t *const *sgOut)
{
    return vantor::model::NextAll(time, trig, soPhase, soCycle, soDay, soWeek, soYear, dirStates, sgOut);
}

VANTOR_MODEL_EXPORT int32_t close(void)
{
    return vantor::model::Close();
}

} // extern "C"
