#pragma once
// Controller blocks: the hardware units of a controller, each described by its own
// copy of a block model, with one output object per model output (wired to lamps of
// signal heads) and one input object per model input.

#include "controller/SafeLst.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vantor {

class TController;
class TTrendGroup;
class TTrendGroupList;
class TVantorModel;
class TVantorModelInput;
class TVantorModelOutput;

class TControllerOutput : public TVantorObject {
public:
    TControllerOutput(TController *block, TVantorModelOutput *modelOutput)
        : Block(block), ModelOutput(modelOutput)
    {}
    // 1-based number within the block.
    int Number() const;

    TController *Block;
    TTrendGroup *Owner = nullptr; // the group whose heads use it; nullptr: not wired
    // The block model's record of this output: caption, mask, and the settings the
    // block editor changes (power, brightness, monitoring, thresholds).
    TVantorModelOutput *ModelOutput;
};

class TControllerInput : public TVantorObject {
public:
    TControllerInput(TController *block, TVantorModelInput *modelInput) : Block(block), ModelInput(modelInput)
    {}
    TController *Block;
    TVantorModelInput *ModelInput;
};

class TController : public TVantorObject {
public:
    // Takes over the model; creates one output and one input per model entry.
    TController(std::unique_ptr<TVantorModel> model, std::int32_t id, TTrendGroupList *groups);
    ~TController() override;

    TVantorModel &Model() const { return *model_; }
    TControllerOutput *Output(int index) const { return Outputs.At(index); }

    TSafeObjList<TControllerOutput> Outputs{true};
    TSafeObjList<TControllerInput> Inputs{true};
    std::int32_t ID;         // "Идентификатор"; connections refer to blocks by it
    std::string Name;        // the model's name at creation
    bool Enabled = true;     // "Включено"
    std::int32_t ModelID;    // the model's internal id
    TTrendGroupList *Groups; // the configuration's groups

private:
    std::unique_ptr<TVantorModel> model_;
};

class TControllerList : public TSafeObjList<TController> {
public:
    TControllerList() : TSafeObjList<TController>(true) {}
    // The first block with this ID, or nullptr.
    TController *FindById(std::int32_t id) const;
};

} // namespace vantor
