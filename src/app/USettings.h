#pragma once
// The settings dialog: the serial connection settings.

#include <QDialog>

class QSpinBox;

namespace vantor {

class TSettings;

class TfmSettings : public QDialog {
    Q_OBJECT

public:
    explicit TfmSettings(QWidget *parent = nullptr);

    void LoadFrom(const TSettings &settings);
    // Stores both values through the setters (which mark the settings modified only
    // when a value really changes).
    void StoreTo(TSettings &settings) const;

    QSpinBox *delayEdit() const { return seComIntervalDelay_; }
    QSpinBox *triesEdit() const { return seComConnectTryCount_; }

private:
    QSpinBox *seComIntervalDelay_;
    QSpinBox *seComConnectTryCount_;
};

} // namespace vantor
