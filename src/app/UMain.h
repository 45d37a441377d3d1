#pragma once
// The main window: hosts one child window per open configuration.

#include <QMainWindow>

class QMdiArea;

namespace vantor {

class TfmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfmMain(QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return mdiArea_; }

private:
    QMdiArea *mdiArea_;
};

} // namespace vantor
