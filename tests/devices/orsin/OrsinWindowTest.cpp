// The Orsin-3 window: the port grid and its output menu, "Применить", the tabs of
// the network settings and the address fields.
#include "devices/orsin/UConfOrsin.h"

#include "app/UserDialogs.h"
#include "app/widgets/Ipv4Edit.h"
#include "devices/orsin/OrsinOutputMenu.h"

#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

using namespace vantor;
using namespace vantor::test;
using orsin::TDevice;

namespace {

class OrsinWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ShowActive(window_); }

    json::Json Written() { return window_.GetConfigJson()->at("orsin"); }
    bool Load(const std::string &text)
    {
        QString message;
        const bool loaded = window_.LoadConfigJson(*json::ParseObject(text), message);
        message_ = message;
        return loaded;
    }
    QTableView &Grid() { return *Find<QTableView>(window_, "StringGrid"); }
    QString OutputCell(int port) { return Grid().model()->index(port, 1).data().toString(); }
    QTabWidget &Pages() { return *Find<QTabWidget>(window_, "pgcMain"); }

    void SetCounts(int controllers, int ports)
    {
        Find<QSpinBox>(window_, "edControllersCount")->setValue(controllers);
        Find<QSpinBox>(window_, "edOutputCount")->setValue(ports);
        Find<QPushButton>(window_, "btnConfApply")->click();
    }
    // Chooses an output for a port through the menu, as a click on the grid does.
    void Choose(int port, int controller, const QString &name)
    {
        ClickCell(Grid(), Grid().model()->index(port, 0));
        orsin::OrsinOutputMenu *menu = window_.outputMenu();
        ASSERT_TRUE(menu->isVisible());
        for (QAction *action : menu->outputActions(controller))
            if (action->text() == name) {
                ASSERT_TRUE(action->isEnabled()) << name.toStdString();
                action->trigger();
                Settle();
                EXPECT_FALSE(menu->isVisible());
                return;
            }
        ADD_FAILURE() << "no output " << name.toStdString();
    }

    ScriptedDialogs dialogs_;
    TfmConfOrsin window_;
    QString message_;
};

TEST_F(OrsinWindowTest, ANewWindowShowsEightPortsAndNoNetworkTabs)
{
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Контроллер видеофиксации"));
    EXPECT_EQ(json::RenderCompact(Written()), R"({"vantor_count":1,"output_count":8,"table":[]})");
    ASSERT_EQ(Grid().model()->rowCount(), 8);
    EXPECT_EQ(Grid().model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Порт"));
    EXPECT_EQ(Grid().model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Выход"));
    for (int port = 0; port < 8; ++port) {
        EXPECT_EQ(Grid().model()->index(port, 0).data().toString(), QString::number(port + 1));
        EXPECT_EQ(OutputCell(port), QString());
    }
    EXPECT_EQ(Find<QSpinBox>(window_, "edControllersCount")->value(), 1);
    EXPECT_EQ(Find<QSpinBox>(window_, "edOutputCount")->value(), 8);
    EXPECT_EQ(Find<QSpinBox>(window_, "edPort")->value(), 1024);
    EXPECT_EQ(Find<widgets::Ipv4Edit>(window_, "edMask")->text(), QStringLiteral("255.255.255.255"));
    EXPECT_EQ(Find<QLineEdit>(window_, "edMacAddress")->text(), QStringLiteral("00:00:00:00:00:00"));
    // Only the main page, without a tab strip.
    EXPECT_FALSE(Pages().tabBar()->isVisible());
    EXPECT_FALSE(Pages().isTabVisible(1));
    EXPECT_FALSE(Pages().isTabVisible(2));
    EXPECT_EQ(Pages().currentIndex(), 0);
    EXPECT_FALSE(window_.IsModified());
}

TEST_F(OrsinWindowTest, NetworkSwitchesShowTheirTabsAndTheirSettings)
{
    Find<QCheckBox>(window_, "cbServer")->click();
    EXPECT_TRUE(Pages().tabBar()->isVisible());
    EXPECT_TRUE(Pages().isTabVisible(2));
    EXPECT_FALSE(Pages().isTabVisible(1));
    EXPECT_EQ(Pages().tabText(0), QStringLiteral("Главная"));
    Pages().setCurrentIndex(2);
    Find<QCheckBox>(window_, "cbEthernet")->click();
    EXPECT_TRUE(Pages().isTabVisible(1));
    EXPECT_EQ(Pages().currentIndex(), 0); // each change shows the first page
    EXPECT_EQ(json::RenderCompact(Written()),
              R"({"vantor_count":1,"output_count":8,"table":[],"eth":{"ping":false,"dhcp":false,)"
              R"("mac":"00:00:00:00:00:00","ip":"0.0.0.0","gate":"0.0.0.0","mask":"255.255.255.255"},)"
              R"("server":{"port":1024}})");

    Find<QCheckBox>(window_, "cbEthernet")->click();
    Find<QCheckBox>(window_, "cbServer")->click();
    EXPECT_FALSE(Pages().tabBar()->isVisible());
    EXPECT_FALSE(Written().contains("eth"));
    EXPECT_FALSE(Written().contains("server"));
}

TEST_F(OrsinWindowTest, TheOutputMenuWiresPortsAndDisablesOutputsInUse)
{
    SetCounts(2, 8);
    orsin::OrsinOutputMenu *menu = window_.outputMenu();
    QStringList items;
    for (QAction *action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items, (QStringList{QStringLiteral("[Нет]"), QStringLiteral("-"),
                                  QStringLiteral("Контроллер №1"), QStringLiteral("Контроллер №2")}));
    ASSERT_EQ(menu->outputActions(1).size(), 32);
    EXPECT_EQ(menu->outputActions(1)[4]->data().toInt(), 36);
    // Lamp colours by the name's letter: "11з" and "12з" are green.
    EXPECT_EQ(orsin::OrsinOutputMenu::LampOf(menu->outputActions(0)[0]->text()), 0);
    EXPECT_EQ(orsin::OrsinOutputMenu::LampOf(menu->outputActions(0)[4]->text()), 1);
    EXPECT_EQ(orsin::OrsinOutputMenu::LampOf(menu->outputActions(0)[30]->text()), 2);
    EXPECT_EQ(orsin::OrsinOutputMenu::LampOf(menu->outputActions(0)[31]->text()), 2);
    // Four columns of eight, filled column by column.
    auto *controller2 = menu->findChild<QMenu *>(QStringLiteral("miController2"));
    ASSERT_NE(controller2, nullptr);
    auto *layout = controller2->findChild<QGridLayout *>();
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->rowCount(), 8);
    EXPECT_EQ(layout->columnCount(), 4);
    for (QToolButton *button : controller2->findChildren<QToolButton *>()) {
        const int output = menu->outputActions(1).indexOf(button->defaultAction());
        ASSERT_GE(output, 0);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        layout->getItemPosition(layout->indexOf(button), &row, &column, &rowSpan, &columnSpan);
        EXPECT_EQ(row, output % 8) << button->text().toStdString();
        EXPECT_EQ(column, output / 8) << button->text().toStdString();
    }

    Choose(4, 1, QStringLiteral("2ж"));
    EXPECT_EQ(OutputCell(4), QStringLiteral("(2) 2ж"));
    EXPECT_EQ(json::RenderCompact(Written()["table"]), R"([{"block":2,"k_out":5,"d_out":5}])");
    EXPECT_TRUE(Grid().selectionModel()->isRowSelected(4, {}));

    // Opened again, the output in use is disabled; "[Нет]" unwires the port.
    ClickCell(Grid(), Grid().model()->index(0, 1));
    EXPECT_FALSE(menu->outputActions(1)[4]->isEnabled());
    EXPECT_TRUE(menu->outputActions(0)[4]->isEnabled());
    menu->hide();
    ClickCell(Grid(), Grid().model()->index(4, 1));
    menu->noneAction()->trigger();
    EXPECT_EQ(OutputCell(4), QString());
    EXPECT_EQ(json::RenderCompact(Written()["table"]), "[]");
}

TEST_F(OrsinWindowTest, ApplyChangesTheCountsAndUnwiresWhatLeaves)
{
    SetCounts(2, 8);
    Choose(0, 0, QStringLiteral("1к"));
    Choose(5, 0, QStringLiteral("3з"));
    Choose(6, 1, QStringLiteral("12з"));
    EXPECT_EQ(OutputCell(0), QStringLiteral("(1) 1к"));

    // Counts typed but not applied change nothing yet.
    Find<QSpinBox>(window_, "edOutputCount")->setValue(4);
    EXPECT_EQ(Grid().model()->rowCount(), 8);
    EXPECT_EQ(Written()["output_count"], 8);

    SetCounts(1, 4);
    ASSERT_EQ(Grid().model()->rowCount(), 4);
    EXPECT_EQ(OutputCell(0), QStringLiteral("1к"));
    EXPECT_EQ(json::RenderCompact(Written()),
              R"({"vantor_count":1,"output_count":4,"table":[{"block":1,"k_out":1,"d_out":1}]})");
    EXPECT_EQ(window_.outputMenu()->outputActions(1).size(), 0);

    SetCounts(1, 8); // new rows start empty
    for (int port = 4; port < 8; ++port)
        EXPECT_EQ(OutputCell(port), QString());
}

TEST_F(OrsinWindowTest, TheMacFieldTakesHexDigitsOnlyAndDhcpLocksTheAddresses)
{
    Find<QCheckBox>(window_, "cbEthernet")->click();
    Pages().setCurrentIndex(1);
    auto *mac = Find<QLineEdit>(window_, "edMacAddress");
    mac->setFocus();
    mac->home(false);
    QTest::keyClicks(mac, "g.1x0aZbC2d3e4f5");
    EXPECT_EQ(mac->text(), QStringLiteral("10:AB:C2:D3:E4:F5"));
    Find<widgets::Ipv4Edit>(window_, "edIP")->setFocus(); // leaving stores it
    EXPECT_EQ(Written()["eth"]["mac"], "10:AB:C2:D3:E4:F5");

    // Left incomplete, the stored address comes back.
    mac->setFocus();
    mac->end(false);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(mac, Qt::Key_Backspace);
    Find<widgets::Ipv4Edit>(window_, "edIP")->setFocus();
    EXPECT_EQ(mac->text(), QStringLiteral("10:AB:C2:D3:E4:F5"));

    Find<QPushButton>(window_, "BtnRandomMAc")->click();
    const auto parsed = orsin::ParseMacText(mac->text());
    ASSERT_EQ(parsed.status, orsin::ParsedAddress<6>::kTaken);
    EXPECT_EQ(parsed.bytes, window_.device().Mac);
    EXPECT_EQ(parsed.bytes[0] & 0x03, 0x02);

    auto *ip = Find<widgets::Ipv4Edit>(window_, "edIP");
    ip->setFocus();
    ip->selectAll();
    QTest::keyClicks(ip, "10.20.30.40");
    QTest::keyClick(ip, Qt::Key_Return);
    EXPECT_EQ(Written()["eth"]["ip"], "10.20.30.40");

    Find<QCheckBox>(window_, "cbDHCP")->click();
    EXPECT_FALSE(ip->isEnabled());
    EXPECT_FALSE(Find<widgets::Ipv4Edit>(window_, "edGate")->isEnabled());
    EXPECT_FALSE(Find<widgets::Ipv4Edit>(window_, "edMask")->isEnabled());
    EXPECT_EQ(Written()["eth"]["dhcp"], true);
    Find<QCheckBox>(window_, "cbDHCP")->click();
    EXPECT_TRUE(ip->isEnabled());
}

TEST_F(OrsinWindowTest, AnAddressBeingTypedIsSavedAsShownWithoutLeavingTheField)
{
    // Saving with Ctrl+S leaves the focus where it is: what a field shows complete
    // is what the document holds.
    Find<QCheckBox>(window_, "cbEthernet")->click();
    Pages().setCurrentIndex(1);
    auto *gate = Find<widgets::Ipv4Edit>(window_, "edGate");
    gate->setFocus();
    gate->selectAll();
    QTest::keyClicks(gate, "10.1.1.254");
    EXPECT_EQ(Written()["eth"]["gate"], "10.1.1.254");
    auto *mac = Find<QLineEdit>(window_, "edMacAddress");
    mac->setFocus();
    mac->home(false);
    QTest::keyClicks(mac, "021122334455");
    EXPECT_TRUE(mac->hasFocus());
    EXPECT_EQ(Written()["eth"]["mac"], "02:11:22:33:44:55");
    EXPECT_TRUE(window_.IsModified());

    // Half typed, nothing is taken; left half typed, field and document agree again.
    mac->end(false);
    QTest::keyClick(mac, Qt::Key_Backspace);
    EXPECT_EQ(Written()["eth"]["mac"], "02:11:22:33:44:55");
    gate->setFocus();
    EXPECT_EQ(Written()["eth"]["mac"], mac->text().toStdString()); // "…:5" is taken as 05
    gate->selectAll();
    QTest::keyClicks(gate, "10.1.1.");
    EXPECT_EQ(Written()["eth"]["gate"], "10.1.1.254");
    mac->setFocus();
    EXPECT_EQ(Written()["eth"]["gate"], gate->text().toStdString());
}

TEST_F(OrsinWindowTest, LoadingShowsTheDocumentAndABadAddressIsReportedClearly)
{
    const std::string text =
        R"({"orsin":{"vantor_count":2,"output_count":6,"table":[{"block":2,"k_out":5,"d_out":5}],)"
        R"("server":{"port":8080}}})";
    ASSERT_TRUE(Load(text)) << message_.toStdString();
    EXPECT_EQ(Grid().model()->rowCount(), 6);
    EXPECT_EQ(OutputCell(4), QStringLiteral("(2) 2ж"));
    EXPECT_EQ(Find<QSpinBox>(window_, "edControllersCount")->value(), 2);
    EXPECT_EQ(Find<QSpinBox>(window_, "edOutputCount")->value(), 6);
    EXPECT_TRUE(Find<QCheckBox>(window_, "cbServer")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(window_, "cbEthernet")->isChecked());
    EXPECT_TRUE(Pages().isTabVisible(2));
    EXPECT_EQ(Find<QSpinBox>(window_, "edPort")->value(), 8080);
    EXPECT_EQ(json::RenderCompact(*window_.GetConfigJson()), json::RenderCompact(*json::ParseObject(text)));
    EXPECT_FALSE(window_.IsModified());

    EXPECT_FALSE(Load(R"({"orsin":{"eth":{"ip":"192.168.O.1"}}})"));
    EXPECT_EQ(message_, QStringLiteral("Некорректное значение «orsin.eth.ip» (\"192.168.O.1\"): "
                                       "часть «O» не является числом."));
    EXPECT_TRUE(Find<QCheckBox>(window_, "cbEthernet")->isChecked()); // read before the bad value
    EXPECT_EQ(Grid().model()->rowCount(), 8);
    EXPECT_FALSE(Load(R"({"vantor5":{}})"));
    EXPECT_EQ(message_, QStringLiteral("Некорректная конфигурация"));
}

} // namespace
