#pragma once
// The "Общие" tab of the Pelmar-3 window: names, connection and clock times, the
// clock source, GPS time and the time zone, the number of traffic-light objects, the
// detector module switch, the protocols and the priority one, the web server.

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vantor {

class PelmarConfig;

class PelmarGeneralPage : public QWidget {
    Q_OBJECT

public:
    explicit PelmarGeneralPage(PelmarConfig &config, QWidget *parent = nullptr);

    // Controls from the configuration.
    void Refresh();

signals:
    // A value changed; the window re-applies its rules (tabs, objects, identifiers).
    void edited();

private:
    QWidget *BuildIdentity();
    QWidget *BuildTimes();
    QWidget *BuildGps();
    QWidget *BuildParts();
    QWidget *BuildProtocols();
    QWidget *BuildWeb();
    void Edited();
    // The zone the list shows into the configuration (none when nothing is selected).
    void TakeTimeZone();

    PelmarConfig &config_;
    bool loading_ = false;
    QLineEdit *edObjectTitle_;
    QLineEdit *edSID_;
    QLineEdit *edOID_;
    QSpinBox *ysMinConnectionTime_;
    QSpinBox *ysMaxConnectionTime_;
    QSpinBox *ysTimeCorrectionInterval_;
    QSpinBox *edMaxPacket_;
    QComboBox *comboTimeSource_;
    QCheckBox *chkHackDetectorEnabled_;
    QGroupBox *gbxGPS_;
    QComboBox *cbTimeZone_;
    QSpinBox *edSO_;
    QCheckBox *cbUseSensorsModule_;
    QCheckBox *cbUsesEthernet_;
    QCheckBox *cbUsesGPRS_;
    QButtonGroup *priority_;
    QRadioButton *rbMainEthernet_;
    QRadioButton *rbMainGPRS_;
    QGroupBox *gbWeb_;
    QLineEdit *edUser_;
    QLineEdit *edPass_;
    QSpinBox *edPort_;
};

} // namespace vantor
