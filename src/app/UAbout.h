#pragma once
// The about box: what the program is, its version and notices.

#include <QDialog>

namespace vantor {

class TfmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfmAbout(QWidget *parent = nullptr);
};

} // namespace vantor
