#pragma once
// A Vantor-5 window on screen (offscreen platform), with the block-model plug-ins
// of the build loaded and every message box and file dialog scripted, and helpers
// that drive its controls the way a user does.

#include "app/UserDialogs.h"
#include "app/widgets/InPlaceViews.h"
#include "controller/VantorConfig.h"
#include "controller_editor/UConfVantor.h"
#include "controller_editor/VantorEditorPage.h"
#include "models/VantorModels.h"

#include "TempHome.h"
#include "TestPaths.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace vantor::test {

// Types text of any alphabet into a widget (QTest::keyClicks takes ASCII only).
inline void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// The open popup menu's action with this text, searched through its submenus too
// (menu items laid out in columns included).
inline QAction *FindAction(QMenu *menu, const QString &text)
{
    if (menu == nullptr)
        return nullptr;
    for (QAction *action : menu->findChildren<QAction *>())
        if (action->text() == text)
            return action;
    return nullptr;
}

inline QMenu *OpenPopup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

inline void ClosePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    QApplication::processEvents();
}

class VantorWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ClearVantorModels();
        LoadModelPlugins(BinDir(),
                         [](const PluginLoadError &error) { ADD_FAILURE() << error.Text().toStdString(); });
    }
    static void TearDownTestSuite() { ClearVantorModels(); }

    void SetUp() override
    {
        window_ = std::make_unique<TfmConfVantor>();
        window_->resize(1200, 760);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void TearDown() override
    {
        ClosePopups();
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TVantorConfig &Config() { return window_->Config(); }

    template <class T = QWidget>
    T *Find(const char *name) const
    {
        T *widget = window_->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    json::Json Document() { return window_->GetConfigJson()->at("vantor5"); }

    // Presses "+" on a page and returns the menu it opened.
    QMenu *PressAdd(TfmConfVantor::Page page)
    {
        window_->ShowPage(page);
        QTest::mouseClick(Find<QToolButton>("btnAdd"), Qt::LeftButton);
        QApplication::processEvents();
        return OpenPopup();
    }

    void PressDelete(TfmConfVantor::Page page)
    {
        window_->ShowPage(page);
        QTest::mouseClick(Find<QToolButton>("btnDelete"), Qt::LeftButton);
        QApplication::processEvents();
    }

    // Chooses an item of the menu "+" opens on the page.
    void AddFromMenu(TfmConfVantor::Page page, const QString &item)
    {
        QMenu *menu = PressAdd(page);
        ASSERT_NE(menu, nullptr);
        QAction *action = FindAction(menu, item);
        ASSERT_NE(action, nullptr) << item.toStdString();
        action->trigger();
        ClosePopups();
    }

    // Opens the context menu of a row and returns it.
    static QMenu *ContextMenu(QAbstractItemView *view, const QModelIndex &index)
    {
        view->scrollTo(index);
        const QPoint position = view->visualRect(index).center();
        emit view->customContextMenuRequested(position);
        QApplication::processEvents();
        return OpenPopup();
    }

    // Clicks a cell, types into its editor and presses Enter.
    static void EditCell(QAbstractItemView *view, const QModelIndex &index, const QString &text)
    {
        view->scrollTo(index);
        const QPoint centre = view->visualRect(index).center();
        view->setCurrentIndex(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QWidget *editor = view->indexWidget(index);
        ASSERT_NE(editor, nullptr) << "no editor at " << index.row() << "," << index.column();
        QWidget *target = editor->focusProxy() ? editor->focusProxy() : editor;
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Backspace);
        TypeText(target, text);
        QTest::keyClick(target, Qt::Key_Return);
        QApplication::processEvents();
    }

    static void Click(QAbstractItemView *view, const QModelIndex &index)
    {
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
        QApplication::processEvents();
    }

    TempHome home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TfmConfVantor> window_;
};

} // namespace vantor::test
