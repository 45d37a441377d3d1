#include "models/BlockModelMenu.h"

#include "models/VantorModels.h"

namespace vantor {

std::vector<BlockModelMenuItem> BuildBlockModelMenu(const std::vector<std::unique_ptr<TVantorModel>> &models)
{
    std::vector<BlockModelMenuItem> menu;
    const int count = static_cast<int>(models.size());
    for (int first = 0; first < count;) {
        int end = first + 1;
        while (end < count && models[end]->Family == models[first]->Family)
            ++end;
        if (end - first == 1) {
            menu.push_back({models[first]->Description, -first, first, {}});
        } else {
            BlockModelMenuItem group{models[first]->FamilyName, 255 - models[first]->Family, -1, {}};
            for (int index = first; index < end; ++index) {
                const TVantorModel &model = *models[index];
                std::string caption = model.Description;
                if (caption.find("вых") == std::string::npos)
                    caption += " (" + std::to_string(model.OutputCount()) + " вых.)";
                group.children.push_back({caption, -index, index, {}});
            }
            menu.push_back(std::move(group));
        }
        first = end;
    }
    return menu;
}

int ModelIndexFromTag(int tag, const std::vector<std::unique_ptr<TVantorModel>> &models)
{
    const int index = -tag;
    return index >= 0 && index < static_cast<int>(models.size()) ? index : -1;
}

} // namespace vantor
