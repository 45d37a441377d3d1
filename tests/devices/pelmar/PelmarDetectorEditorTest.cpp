// The detector module's editor in the Pelmar-3 window: "+" and "–" on each sub-tab,
// the add menu and the direction menu, limits, duplicate numbers and re-sorting.
#include "devices/pelmar/DetectorEditor.h"
#include "devices/pelmar/UConfPelmar.h"

#include "app/UserDialogs.h"
#include "app/widgets/InPlaceViews.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;
using json::Json;

namespace {

class DetectorEditorTest : public ::testing::Test {
protected:
    DetectorEditorTest()
    {
        window_.show();
        window_.findChild<QCheckBox *>("cbUseSensorsModule")->click();
        window_.findChild<QTabWidget *>("pgcMain")->setCurrentIndex(TfmConfPelmar::kDetectorTab);
        plus_ = window_.findChild<QAction *>("actPlus");
        minus_ = window_.findChild<QAction *>("actMinus");
        subTabs_ = window_.findChild<QTabWidget *>("pgcDetector");
        trends_ = window_.findChild<widgets::InPlaceTreeView *>("vtTrends");
        blocks_ = window_.findChild<widgets::InPlaceTreeView *>("vtBlocks");
        addMenu_ = window_.findChild<QMenu *>("pmAddSens");
    }

    Json Det() { return window_.GetConfigJson()->at("revur").at("det"); }
    QAbstractItemModel *Blocks() const { return blocks_->model(); }
    void FocusBlock(int bod, int sensor = -1)
    {
        QModelIndex index = Blocks()->index(bod, 0);
        if (sensor >= 0)
            index = Blocks()->index(sensor, 0, index);
        blocks_->setCurrentIndex(index);
    }
    // "+" on the BOD sub-tab, then an item of the menu it opens.
    void AddFromMenu(const char *item)
    {
        plus_->trigger();
        ASSERT_TRUE(addMenu_->isVisible());
        QAction *action = addMenu_->findChild<QAction *>(item);
        ASSERT_TRUE(action && action->isEnabled()) << item;
        addMenu_->hide();
        window_.activateWindow(); // the menu had the keyboard
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        action->trigger();
        QApplication::processEvents();
    }
    void CloseEditors() { QApplication::focusWidget() ? QApplication::focusWidget()->clearFocus() : void(); }

    ScriptedDialogs dialogs_;
    TfmConfPelmar window_;
    QAction *plus_ = nullptr;
    QAction *minus_ = nullptr;
    QTabWidget *subTabs_ = nullptr;
    widgets::InPlaceTreeView *trends_ = nullptr;
    widgets::InPlaceTreeView *blocks_ = nullptr;
    QMenu *addMenu_ = nullptr;
};

TEST_F(DetectorEditorTest, DirectionsAreAddedUpToThirtyTwoAndStayWhileInUse)
{
    subTabs_->setCurrentIndex(DetectorEditor::kTrendsPage);
    EXPECT_TRUE(plus_->isEnabled());
    EXPECT_FALSE(minus_->isEnabled());
    plus_->trigger();
    QApplication::processEvents();
    // The new direction's name is open for editing.
    auto *editor = qobject_cast<QLineEdit *>(trends_->indexWidget(trends_->model()->index(0, 1)));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    editor->insert(QStringLiteral("Север"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(json::RenderCompact(Det()["dirs"]), R"([{"name":"Север"}])");
    EXPECT_TRUE(minus_->isEnabled());

    // Switching the sub-tab ends an open editor, keeping what was typed.
    plus_->trigger();
    QApplication::processEvents();
    editor = qobject_cast<QLineEdit *>(trends_->indexWidget(trends_->model()->index(1, 1)));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    editor->insert(QStringLiteral("Юг"));
    subTabs_->setCurrentIndex(DetectorEditor::kBlocksPage);
    QApplication::processEvents();
    EXPECT_EQ(trends_->indexWidget(trends_->model()->index(1, 1)), nullptr);
    EXPECT_EQ(Det()["dirs"][1]["name"], "Юг");
    subTabs_->setCurrentIndex(DetectorEditor::kTrendsPage);

    for (int i = 2; i < 32; ++i)
        plus_->trigger();
    CloseEditors();
    EXPECT_EQ(Det()["dirs"].size(), 32u);
    EXPECT_FALSE(plus_->isEnabled()); // no 33rd

    // A direction a sensor uses cannot be deleted.
    subTabs_->setCurrentIndex(DetectorEditor::kBlocksPage);
    AddFromMenu("miAddBod");
    CloseEditors();
    // A click on the sensor's direction opens the menu under the cell.
    const QModelIndex direction = Blocks()->index(0, 1, Blocks()->index(0, 0));
    QTest::mouseClick(blocks_->viewport(), Qt::LeftButton, {}, blocks_->visualRect(direction).center());
    QMenu *menu = window_.findChild<QMenu *>("pmTrends");
    ASSERT_TRUE(menu->isVisible());
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 34); // "[нет]", separator, 32 directions
    EXPECT_EQ(items[0]->text(), "[нет]");
    EXPECT_FALSE(items[0]->isEnabled()); // the current choice
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_EQ(items[2]->text(), "Север [#1]");
    menu->hide();
    items[3]->trigger(); // the second direction
    EXPECT_EQ(Det()["bods"][0]["lanes"][0]["dir"], 2);

    subTabs_->setCurrentIndex(DetectorEditor::kTrendsPage);
    trends_->setCurrentIndex(trends_->model()->index(1, 1));
    EXPECT_FALSE(minus_->isEnabled());
    trends_->setCurrentIndex(trends_->model()->index(0, 1));
    EXPECT_TRUE(minus_->isEnabled());
    minus_->trigger();
    EXPECT_EQ(Det()["dirs"].size(), 31u);
    EXPECT_EQ(Det()["bods"][0]["lanes"][0]["dir"], 1); // positions move up
    EXPECT_EQ(trends_->currentIndex().row(), 0);       // focus on the next one
}

TEST_F(DetectorEditorTest, BodsAndSensorsThroughTheAddMenu)
{
    subTabs_->setCurrentIndex(DetectorEditor::kBlocksPage);
    AddFromMenu("miAddBod");
    // A new BOD comes with one sensor and its name open for editing.
    EXPECT_EQ(json::RenderCompact(Det()["bods"]),
              R"([{"name":"БОД","num":0,"lanes":[{"num":1,"dir":0}],"distance":0}])");
    EXPECT_NE(blocks_->indexWidget(Blocks()->index(0, 1)), nullptr);
    CloseEditors();

    FocusBlock(0);
    AddFromMenu("miAddSensor");
    AddFromMenu("miAddSensor");
    EXPECT_EQ(Blocks()->rowCount(Blocks()->index(0, 0)), 3);
    EXPECT_EQ(Blocks()->index(2, 0, Blocks()->index(0, 0)).data().toString(), "3"); // after 1 and 2
    while (Blocks()->rowCount(Blocks()->index(0, 0)) < 8)
        AddFromMenu("miAddSensor");
    plus_->trigger();
    EXPECT_FALSE(addMenu_->findChild<QAction *>("miAddSensor")->isEnabled()); // no 9th
    EXPECT_TRUE(addMenu_->findChild<QAction *>("miAddBod")->isEnabled());
    addMenu_->hide();

    // The last sensor of a BOD stays; a BOD goes with its sensors.
    FocusBlock(0, 7);
    EXPECT_TRUE(minus_->isEnabled());
    for (int i = 0; i < 7; ++i)
        minus_->trigger();
    EXPECT_EQ(Blocks()->rowCount(Blocks()->index(0, 0)), 1);
    EXPECT_EQ(blocks_->currentIndex().parent(), Blocks()->index(0, 0));
    EXPECT_FALSE(minus_->isEnabled());
    FocusBlock(0);
    EXPECT_TRUE(minus_->isEnabled());
    minus_->trigger();
    EXPECT_EQ(Det()["bods"], Json::array());

    // 32 BODs: "+" still adds sensors to the focused one, but no 33rd BOD.
    for (int i = 0; i < 32; ++i) {
        AddFromMenu("miAddBod");
        CloseEditors();
    }
    FocusBlock(5);
    EXPECT_TRUE(plus_->isEnabled());
    plus_->trigger();
    EXPECT_FALSE(addMenu_->findChild<QAction *>("miAddBod")->isEnabled());
    addMenu_->hide();
    subTabs_->setCurrentIndex(DetectorEditor::kGeneralPage);
    EXPECT_FALSE(minus_->isEnabled());
}

TEST_F(DetectorEditorTest, DuplicateNumbersAreRedAndEditingANumberResorts)
{
    subTabs_->setCurrentIndex(DetectorEditor::kBlocksPage);
    for (int i = 0; i < 3; ++i) {
        AddFromMenu("miAddBod");
        CloseEditors();
    }
    const auto colour = [this](int row) {
        return Blocks()->index(row, 0).data(Qt::ForegroundRole).value<QColor>();
    };
    EXPECT_EQ(colour(0), QColor(Qt::darkBlue));

    // BOD 0 becomes 2: a duplicate, drawn red, and sorted after the other 1.
    const QModelIndex first = Blocks()->index(0, 0);
    QTest::mouseClick(blocks_->viewport(), Qt::LeftButton, {}, blocks_->visualRect(first).center());
    auto *spin = blocks_->indexWidget(first)->findChild<QSpinBox *>();
    if (!spin)
        spin = qobject_cast<QSpinBox *>(blocks_->indexWidget(first));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->maximum(), 31);
    spin->setValue(2);
    QTest::keyClick(spin, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Blocks()->index(0, 0).data().toString(), "1");
    EXPECT_EQ(Blocks()->index(1, 0).data().toString(), "2");
    EXPECT_EQ(Blocks()->index(2, 0).data().toString(), "2");
    EXPECT_EQ(colour(0), QColor(Qt::darkBlue));
    EXPECT_EQ(colour(1), QColor(Qt::red));
    EXPECT_EQ(colour(2), QColor(Qt::red));
    // Duplicates are written as they are; the edited BOD stays focused.
    EXPECT_EQ(Det()["bods"][1]["num"], 2);
    EXPECT_EQ(Det()["bods"][2]["num"], 2);
    EXPECT_EQ(blocks_->currentIndex().row(), 1); // added before the other 2

    // A sensor's number cell offers 1..8.
    const QModelIndex sensor = Blocks()->index(0, 0, Blocks()->index(0, 0));
    QTest::mouseClick(blocks_->viewport(), Qt::LeftButton, {}, blocks_->visualRect(sensor).center());
    QWidget *editor = blocks_->indexWidget(sensor);
    ASSERT_NE(editor, nullptr);
    auto *sensorSpin =
        editor->findChild<QSpinBox *>() ? editor->findChild<QSpinBox *>() : qobject_cast<QSpinBox *>(editor);
    ASSERT_NE(sensorSpin, nullptr);
    EXPECT_EQ(sensorSpin->minimum(), 1);
    EXPECT_EQ(sensorSpin->maximum(), 8);
}

} // namespace
