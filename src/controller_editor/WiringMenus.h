#pragma once
// The two context menus that wire block outputs to lamps: one on a lamp of the
// signal-head tree (choose the output), one on an output of a block page (choose the
// lamp). Each item wires at once through the configuration and then calls `changed`.

#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace vantor {

class TController;
class TControllerOutput;
class TSemaphoreObject;
class TVantorConfig;

// A block page's caption: Блок №<ID>: "<name>".
QString BlockCaption(const TController &block);

// The letter of a lamp position in menus: к ж з л в п н.
QString LampLetter(int lampPos);

// "[Нет]" unwires the lamp; one submenu per block (captioned like its page) lists
// the block's outputs, checked when wired, in columns of eight.
QMenu *CreateLampMenu(TVantorConfig &config, TSemaphoreObject &head, int lampPos,
                      std::function<void()> changed, QWidget *parent);

// "[Нет]" unwires the output from its group's heads; one submenu per group, one per
// head ("Свет. объект N") and one item per lamp, checked when the lamp is wired.
QMenu *CreateOutputMenu(TVantorConfig &config, TControllerOutput &output, std::function<void()> changed,
                        QWidget *parent);

} // namespace vantor
