#pragma once
// The page "Общее": name, enabled flag, time zone, location and brightness of the
// controller. Every control writes its value into the configuration at once.

#include "controller_editor/VantorEditorPage.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace vantor {

class GeneralPage : public VantorEditorPage {
    Q_OBJECT

public:
    explicit GeneralPage(TVantorConfig &config, QWidget *parent = nullptr);

    void Refresh() override;

signals:
    // The user left the name field: the window takes the name as its caption.
    void nameEdited();

private:
    void ApplyAuto(bool automatic);
    void TakeTimeZone();

    QGroupBox *gbxMain_;
    QLineEdit *edName_;
    QComboBox *cbTimeZone_;
    QGroupBox *gbxCoordinates_;
    QCheckBox *cbAuto_;
    QDoubleSpinBox *edLatitude_;
    QDoubleSpinBox *edLongitude_;
    QSpinBox *edDayBright_;
    QSpinBox *edNightBright_;
    QSpinBox *edHorizon_;
    QWidget *coordinateFields_;
};

} // namespace vantor
