#pragma once
// Shared helpers of the device window tests: a shown, active window and clicks on
// cells of its grids.

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace vantor::test {

// Shows the window on its own and makes it the active one (editors need focus).
inline void ShowActive(QWidget &window)
{
    window.resize(900, 640);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

inline void ClickCell(QAbstractItemView &view, const QModelIndex &index)
{
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
    QApplication::processEvents();
}

// Lets queued commits and deferred deletions happen.
inline void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

template <class T>
T *Find(const QWidget &window, const char *name)
{
    T *child = window.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace vantor::test
