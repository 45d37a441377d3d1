#pragma once
// The strip of tabs above the device windows: one tab per window, owner-drawn.
//
// The selected tab is drawn bold, the others italic and grey; each tab shows the
// window's icon, its caption and a close box. A double click on a tab, or a click
// in its close box, asks to close that tab's window.

#include <QTabBar>

namespace vantor {

class MdiTabStrip : public QTabBar {
    Q_OBJECT

public:
    explicit MdiTabStrip(QWidget *parent = nullptr);

    // The close box of a tab, in strip coordinates.
    QRect closeBoxRect(int index) const;

signals:
    void closeRequested(int index);
    // The text to show as a hint while the mouse is over a tab; empty when it leaves.
    void hintChanged(const QString &text);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    QFont tabFont(int index) const;
    int boxSide() const; // the height of the text "0"
    void showHint(int index, const QPoint &globalPos);

    int hintIndex_ = -1;
};

} // namespace vantor
