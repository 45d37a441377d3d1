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
    } catch (const std::bad_alloc &) {
        // What was loaded stays, as after any failed load.
        model->status = kStatusOutOfMemory;
        return model->status;
    }
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
