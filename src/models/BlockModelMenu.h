#pragma once
// The editor's "add block" menu, described without widgets so that the window and
// the tests share one builder.
//
// Models are taken in registry order. A run of consecutive models of one family
// becomes a submenu captioned with the family name (tag 255 - family) whose items
// read "<description> (<outputs> вых.)", unless the description already mentions
// "вых"; a model without a neighbour of its family is a top-level item captioned
// with its plain description. Every model item carries the tag -(registry index).

#include <memory>
#include <string>
#include <vector>

namespace vantor {

class TVantorModel;

struct BlockModelMenuItem {
    std::string caption;
    int tag = 0;
    int modelIndex = -1;                      // registry index; -1 for a submenu
    std::vector<BlockModelMenuItem> children; // items of a submenu

    bool IsSubmenu() const { return modelIndex < 0; }
};

std::vector<BlockModelMenuItem> BuildBlockModelMenu(const std::vector<std::unique_ptr<TVantorModel>> &models);

// The registry index named by a model item's tag, or -1 when the tag names no model
// of `models` (the editor then shows "Invalid model id.").
int ModelIndexFromTag(int tag, const std::vector<std::unique_ptr<TVantorModel>> &models);

} // namespace vantor
