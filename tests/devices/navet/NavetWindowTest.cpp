// The Navet window: general settings, the two choices and the digit-only grids.
#include "devices/navet/UConfNavet.h"

#include "app/UserDialogs.h"
#include "app/widgets/InPlaceViews.h"
#include "app/widgets/TimeZoneCombo.h"

#include "WindowTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

using namespace vantor;
using namespace vantor::test;

namespace {

class NavetWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ShowActive(window_); }

    json::Json Written() { return window_.GetConfigJson()->at("navet"); }
    bool Load(const std::string &text)
    {
        QString message;
        const bool loaded = window_.LoadConfigJson(*json::ParseObject(text), message);
        message_ = message;
        return loaded;
    }
    widgets::InPlaceTableView &Grid(const char *name)
    {
        return *Find<widgets::InPlaceTableView>(window_, name);
    }
    QString Cell(const char *grid, int column)
    {
        return Grid(grid).model()->index(0, column).data().toString();
    }

    void Type(const char *grid, int column, const char *keys)
    {
        const QModelIndex index = Grid(grid).model()->index(0, column);
        ClickCell(Grid(grid), index);
        QWidget *editor = Grid(grid).indexWidget(index);
        ASSERT_NE(editor, nullptr) << grid << column;
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, Qt::Key_Tab);
        Settle();
    }

    ScriptedDialogs dialogs_;
    TfmConfNavet window_;
    QString message_;
};

TEST_F(NavetWindowTest, ANewWindowShowsTheDefaults)
{
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Конфигурация Navet"));
    EXPECT_EQ(Find<QLineEdit>(window_, "edProjectName")->text(), QStringLiteral("Новая конфигурация"));
    EXPECT_FALSE(Find<QLineEdit>(window_, "edID")->isVisible());
    EXPECT_FALSE(Find<QLabel>(window_, "lblID")->isVisible());
    auto *zones = Find<QComboBox>(window_, "cbTimeZone");
    EXPECT_EQ(zones->currentText(), SystemTimeZoneEntry().displayName);
    EXPECT_TRUE(Find<QRadioButton>(window_, "rbType_1")->isChecked());
    EXPECT_EQ(Find<QRadioButton>(window_, "rbType_1")->text(), QStringLiteral("Реверсивный"));
    EXPECT_TRUE(Find<QRadioButton>(window_, "rbRole_1")->isChecked());
    EXPECT_EQ(Find<QRadioButton>(window_, "rbRole_1")->text(), QStringLiteral("Ведущий"));
    EXPECT_EQ(Find<QGroupBox>(window_, "rbType")->title(), QStringLiteral(" Тип "));

    QAbstractItemModel *currents = Grid("sgCurrents").model();
    QAbstractItemModel *phases = Grid("sgPhases").model();
    ASSERT_EQ(currents->columnCount(), 3);
    ASSERT_EQ(phases->columnCount(), 4);
    EXPECT_EQ(currents->rowCount(), 1);
    const char *currentHeaders[] = {"Красный", "Зеленый", "Желтый"};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(currents->headerData(column, Qt::Horizontal).toString(),
                  QString::fromUtf8(currentHeaders[column]));
        EXPECT_EQ(Cell("sgCurrents", column), QStringLiteral("0"));
    }
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(phases->headerData(column, Qt::Horizontal).toString(),
                  QStringLiteral("Ф%1").arg(column + 1));
        EXPECT_EQ(Cell("sgPhases", column), QStringLiteral("0"));
    }
    EXPECT_EQ(json::RenderCompact(*window_.GetConfigJson()), json::RenderCompact(navet::GetConfigJson({})));
    EXPECT_FALSE(window_.IsModified());
}

TEST_F(NavetWindowTest, GridCellsTakeDigitsOnlyAndAnEmptyCellBecomesZero)
{
    Type("sgCurrents", 0, "3a5-0");
    Type("sgCurrents", 1, "300");
    Type("sgCurrents", 2, "250");
    Type("sgPhases", 1, "12");
    EXPECT_EQ(json::RenderCompact(Written()["bright"]), R"({"currents":[350,300,0,250]})");
    EXPECT_EQ(json::RenderCompact(Written()["cycle"]), R"({"ph":[0,12,0,0]})");
    EXPECT_EQ(Cell("sgCurrents", 0), QStringLiteral("350"));

    Type("sgPhases", 1, ""); // left empty
    EXPECT_EQ(Cell("sgPhases", 1), QStringLiteral("0"));
    EXPECT_EQ(json::RenderCompact(Written()["cycle"]), R"({"ph":[0,0,0,0]})");
}

TEST_F(NavetWindowTest, LoadingFillsTheControlsAndSavingGivesTheSameDocument)
{
    const std::string text =
        R"j({"navet":{"n":"Реверс Ленина","ver":1,"id":3,"geo":{"tz":180,"tzname":"(UTC+03:00) Волгоград (старый)"},)j"
        R"("is_reverse":{"value":0},"cycle":{"ph":[10,3,25,4]},"bright":{"currents":[350,300,0,250]},)"
        R"("is_master":{"value":0}}})";
    ASSERT_TRUE(Load(text)) << message_.toStdString();
    EXPECT_EQ(Find<QLineEdit>(window_, "edProjectName")->text(), QStringLiteral("Реверс Ленина"));
    EXPECT_TRUE(Find<QRadioButton>(window_, "rbType_0")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(window_, "rbRole_0")->isChecked());
    EXPECT_EQ(Cell("sgCurrents", 0), QStringLiteral("350"));
    EXPECT_EQ(Cell("sgCurrents", 2), QStringLiteral("250"));
    EXPECT_EQ(Cell("sgPhases", 2), QStringLiteral("25"));
    // A zone this computer does not know is added and selected, and saved unchanged.
    auto *zones = Find<QComboBox>(window_, "cbTimeZone");
    EXPECT_EQ(zones->currentText(), QStringLiteral("(UTC+03:00) Волгоград (старый)"));
    EXPECT_EQ(json::RenderCompact(*window_.GetConfigJson()), json::RenderCompact(*json::ParseObject(text)));
    EXPECT_FALSE(window_.IsModified());

    // Two phase values fill two cells and leave the others.
    ASSERT_TRUE(Load(R"({"navet":{"cycle":{"ph":[7,8]}}})"));
    EXPECT_EQ(json::RenderCompact(Written()["cycle"]), R"({"ph":[7,8,25,4]})");
}

TEST_F(NavetWindowTest, ChoicesAndTheZoneAreStoredAsTheyChange)
{
    Find<QRadioButton>(window_, "rbType_0")->click();
    Find<QRadioButton>(window_, "rbRole_0")->click();
    auto *zones = Find<QComboBox>(window_, "cbTimeZone");
    zones->setCurrentIndex(0);
    const auto zone = widgets::SelectedTimeZone(*zones);
    ASSERT_TRUE(zone);
    Find<QLineEdit>(window_, "edProjectName")->setText(QStringLiteral("Навет 2"));
    const json::Json written = Written();
    EXPECT_EQ(written["is_reverse"]["value"], 0);
    EXPECT_EQ(written["is_master"]["value"], 0);
    EXPECT_EQ(written["geo"]["tz"], zone->OffsetMinutes());
    EXPECT_EQ(written["geo"]["tzname"], zone->displayName.toStdString());
    EXPECT_EQ(written["n"], "Навет 2");
    EXPECT_TRUE(window_.IsModified());
}

TEST_F(NavetWindowTest, ARefusedDocumentSaysWhy)
{
    EXPECT_FALSE(Load(R"({"sollo":{}})"));
    EXPECT_EQ(message_, QStringLiteral("Некорректная конфигурация"));
    EXPECT_FALSE(Load(R"({"navet":{"n":"Прочитано","bright":{"currents":[1,"сто"]}}})"));
    EXPECT_TRUE(message_.contains(QStringLiteral("«navet.bright.currents[1]»"))) << message_.toStdString();
    EXPECT_EQ(Find<QLineEdit>(window_, "edProjectName")->text(), QStringLiteral("Прочитано"));
    EXPECT_EQ(Cell("sgCurrents", 0), QStringLiteral("1"));
}

} // namespace
