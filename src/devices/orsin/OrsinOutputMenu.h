#pragma once
// The output menu of the Orsin-3 port grid (`pmOutputs`): "[Нет]", a separator, and
// one submenu "Контроллер №N" per controller holding that controller's 32 outputs
// in four columns of eight, each with the colour of its lamp. When the menu opens,
// outputs already wired to a port are disabled.

#include <QMenu>

namespace vantor::orsin {

class TDevice;

class OrsinOutputMenu : public QMenu {
    Q_OBJECT

public:
    explicit OrsinOutputMenu(QWidget *parent = nullptr);

    // Rebuilds the submenus for the device's controllers. The device must outlive
    // the menu or the next Rebuild.
    void Rebuild(const TDevice &device);
    // Disables every output wired to a port, enables the others.
    void UpdateEnabled();

    QAction *noneAction() const { return none_; }
    // The 32 output actions of a controller (0-based); their data is the global index.
    QList<QAction *> outputActions(int controller) const;

    // The colour index of an output's lamp by its name: 0 red ("к"), 1 yellow ("ж"),
    // 2 green ("з").
    static int LampOf(const QString &outputName);

signals:
    // An output was chosen (its global index), or "[Нет]" (-1).
    void outputChosen(int globalIndex);

private:
    QMenu *CreateControllerMenu(int controller);

    const TDevice *device_ = nullptr;
    QAction *none_ = nullptr;
    QList<QMenu *> controllerMenus_;
    QList<QList<QAction *>> outputs_;
};

} // namespace vantor::orsin
