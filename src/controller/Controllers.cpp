#include "controller/Controllers.h"

#include "models/VantorModels.h"

namespace vantor {

int TControllerOutput::Number() const
{
    return Block ? Block->Outputs.IndexOf(this) + 1 : 0;
}

TController::TController(std::unique_ptr<TVantorModel> model, std::int32_t id, TTrendGroupList *groups)
    : ID(id), Name(model->DisplayName), ModelID(model->InternalId), Groups(groups), model_(std::move(model))
{
    for (const auto &output : model_->Outputs)
        Outputs.Add(std::make_unique<TControllerOutput>(this, output.get()));
    for (const auto &input : model_->Inputs)
        Inputs.Add(std::make_unique<TControllerInput>(this, input.get()));
}

TController::~TController() = default;

TController *TControllerList::FindById(std::int32_t id) const
{
    for (TController *block : *this)
        if (block->ID == id)
            return block;
    return nullptr;
}

} // namespace vantor
