#pragma once
// Block models built in code, for configuration tests that need blocks but no plug-in
// files.

#include "models/VantorModels.h"

#include <memory>
#include <string>

namespace vantor::test {

// A model with `outputs` transport-style outputs ("1к", "1ж", "1з", "2к", ...).
inline std::unique_ptr<TVantorModel> MakeModel(int id, int outputs, const std::string &description = "Блок")
{
    static const char *const kLamps[] = {"к", "ж", "з"};
    auto model = std::make_unique<TVantorModel>();
    model->InternalId = id;
    model->Description = description;
    model->DisplayName = description;
    model->DescriptionCopy = description;
    model->Family = 3;
    model->FamilyName = "Силовые блоки";
    for (int i = 0; i < outputs; ++i)
        model->AddOutput(std::to_string(i / 3 + 1) + kLamps[i % 3], 1u << (i % 3));
    model->AddInput();
    return model;
}

} // namespace vantor::test
