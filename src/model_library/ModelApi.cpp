#include "ModelApi.h"

#include "ModelLoader.h"
#include "ModelStatus.h"

#include <memory>
#include <new>

namespace vantor::model {
namespace {

std::unique_ptr<ModelClass> &Instance()
{
    static std::unique_ptr<ModelClass> model;
    return model;
}

} // namespace

std::int32_t Open(const char *first, const char *last) noexcept
{
    auto &model = Instance();
    model.reset();
    try {
        model = std::make_unique<ModelClass>();
    } catch (const std::bad_alloc &) {
        return kStatusOutOfMemory; // no model at all
    }
    if (first == nullptr || last == nullptr || last < first) {
        // Nothing to read: "ver" is not found.
        model->status = kStatusBadVersion;
        return model->status;
    }
    try {
        return LoadModel(*model, first, last);
    } catch (...) {
        // Only memory can run out here (std::bad_alloc; a list too long to be held at
        // all would be std::length_error). What was loaded stays, as after any failed load.
        model->status = kStatusOutOfMemory;
        return model->status;
    }
}

std::int32_t Next(std::int32_t soIndex, std::int32_t request, const std::uint8_t *trigIn,
                  std::uint8_t *outPhase, std::uint8_t *outStates) noexcept
{
    ModelClass *model = Instance().get();
    if (model == nullptr)
        return kStatusNoModel;
    if (model->status != kStatusOk)
        return model->status; // a failed load blocks stepping until the next open
    return model->Next(soIndex, request, trigIn, outPhase, outStates);
}

std::int32_t NextAll(std::uint32_t time, std::uint8_t *trig, std::uint8_t *soPhase, std::uint8_t *soCycle,
                     std::uint8_t *soDay, std::uint8_t *soWeek, std::uint8_t *soYear, std::uint8_t *dirStates,
                     std::uint8_t *const *sgOut) noexcept
{
    ModelClass *model = Instance().get();
    if (model == nullptr)
        return kStatusNoModel;
    if (model->status != kStatusOk)
        return model->status;
    return model->NextAll(time, trig, soPhase, soCycle, soDay, soWeek, soYear, dirStates, sgOut);
}

std::int32_t Close() noexcept
{
    auto &model = Instance();
    if (!model)
        return kStatusNoModel;
    model.reset();
    return kStatusOk;
}

ModelClass *CurrentModel() noexcept
{
    return Instance().get();
}

} // namespace vantor::model
