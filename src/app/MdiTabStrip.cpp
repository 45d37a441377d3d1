#include "app/MdiTabStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QToolTip>

namespace vantor {

namespace {

const QColor kInactiveText(160, 160, 164);

// Room inside a tab: the icon sits at +2, the caption starts at +22.
constexpr int kIconLeft = 2;
constexpr int kIconTop = 2;
constexpr int kTextLeft = 22;
constexpr int kTextTop = 3;

} // namespace

MdiTabStrip::MdiTabStrip(QWidget *parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("tsMain"));
    setShape(QTabBar::RoundedNorth);
    setDocumentMode(true);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setDrawBase(true);
    setMouseTracking(true);
    setIconSize(QSize(16, 16));
}

QFont MdiTabStrip::tabFont(int index) const
{
    QFont f = font();
    if (index == currentIndex())
        f.setBold(true);
    else
        f.setItalic(true);
    return f;
}

int MdiTabStrip::boxSide() const
{
    return QFontMetrics(font()).height();
}

QSize MdiTabStrip::tabSizeHint(int index) const
{
    // Wide enough for the caption in its own face, plus room for the icon and the
    // close box: text width + twice the text height + 16.
    const int h = boxSide();
    const int width = QFontMetrics(tabFont(index)).horizontalAdvance(tabText(index)) + 2 * h + 16;
    return {width, h + 12};
}

QSize MdiTabStrip::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

QRect MdiTabStrip::closeBoxRect(int index) const
{
    const QRect tab = tabRect(index);
    if (!tab.isValid())
        return {};
    const int h = boxSide();
    return {tab.right() - 2 - h + 1, tab.top() + 4, h, h};
}

void MdiTabStrip::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        const bool selected = i == currentIndex();
        // The tab's shape comes from the style; its content is ours.
        painter.drawControl(QStyle::CE_TabBarTabShape, option);

        const QRect tab = option.rect;
        painter.save();
        painter.setClipRect(tab.adjusted(0, 0, 0, 0));
        const QIcon icon = tabIcon(i);
        if (!icon.isNull())
            icon.paint(&painter, QRect(tab.left() + kIconLeft + 2, tab.top() + kIconTop + 2, 16, 16));

        painter.setFont(tabFont(i));
        painter.setPen(selected ? palette().color(QPalette::ButtonText) : kInactiveText);
        const QRect box = closeBoxRect(i);
        const QRect textRect(tab.left() + kTextLeft + 2, tab.top() + kTextTop,
                             box.left() - tab.left() - kTextLeft - 2, tab.height() - kTextTop);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, tabText(i));

        // The close box: a small button face with a cross.
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(palette().color(QPalette::Button));
        painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        const QColor crossColour =
            selected ? palette().color(QPalette::ButtonText) : palette().color(QPalette::Dark);
        painter.setPen(QPen(crossColour, 2, Qt::SolidLine, Qt::RoundCap));
        const QRectF inner = QRectF(box).adjusted(3.5, 3.5, -3.5, -3.5);
        painter.drawLine(inner.topLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomLeft());
        painter.restore();
    }
}

void MdiTabStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0 && closeBoxRect(index).contains(event->position().toPoint())) {
            event->accept();
            emit closeRequested(index);
            return;
        }
    }
    if (event->button() != Qt::LeftButton) {
        event->accept(); // other buttons do nothing
        return;
    }
    QTabBar::mousePressEvent(event);
}

void MdiTabStrip::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0) {
            event->accept();
            emit closeRequested(index);
            return;
        }
    }
    event->accept();
}

void MdiTabStrip::showHint(int index, const QPoint &globalPos)
{
    if (index == hintIndex_)
        return;
    hintIndex_ = index;
    if (index < 0) {
        QToolTip::hideText();
        emit hintChanged(QString());
        return;
    }
    QToolTip::showText(globalPos, tabText(index), this, tabRect(index));
    emit hintChanged(tabText(index));
}

void MdiTabStrip::tabInserted(int index)
{
    hintIndex_ = -1;
    QTabBar::tabInserted(index);
}

void MdiTabStrip::tabRemoved(int index)
{
    hintIndex_ = -1;
    QTabBar::tabRemoved(index);
}

void MdiTabStrip::mouseMoveEvent(QMouseEvent *event)
{
    showHint(tabAt(event->position().toPoint()), event->globalPosition().toPoint());
    QTabBar::mouseMoveEvent(event);
}

void MdiTabStrip::leaveEvent(QEvent *event)
{
    showHint(-1, {});
    QTabBar::leaveEvent(event);
}

} // namespace vantor
