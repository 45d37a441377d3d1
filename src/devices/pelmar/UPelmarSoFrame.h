#pragma once
// TfrmPelmarSO: the page of one traffic-light object on the "СО / КНО" tab.
//
// The page edits PelmarConfig::Object(index) and the object's own identifier; it
// reports an identifier change with idEdited, so the identifier table follows.

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace vantor {

class PelmarConfig;

class TfrmPelmarSO : public QWidget {
    Q_OBJECT

public:
    TfrmPelmarSO(PelmarConfig &config, int index, QWidget *parent = nullptr);

    int objectIndex() const { return index_; }
    // Controls from the configuration.
    void Refresh();
    // Only the identifier (after it was edited in the identifier table).
    void RefreshId();

signals:
    void edited();
    void idEdited(int objectIndex);

private:
    PelmarConfig &config_;
    int index_;
    bool loading_ = false;
    QGroupBox *gbSO_;
    QLineEdit *edSOName_;
    QSpinBox *edID_;
    QSpinBox *intRetentionTime_;
    QCheckBox *cbSendPhaseChanges_;
};

} // namespace vantor
