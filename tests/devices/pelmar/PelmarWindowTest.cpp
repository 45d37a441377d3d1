// The Pelmar-3 window: its new document, the tab and enabling rules, object pages and
// the identifier table kept in step, the registration-server lists, and documents
// that cannot be read in full.
#include "devices/pelmar/UConfPelmar.h"

#include "app/UserDialogs.h"
#include "app/widgets/IdentifierTable.h"
#include "app/widgets/InPlaceViews.h"
#include "app/widgets/TimeZoneCombo.h"
#include "devices/pelmar/PelmarDocument.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;
using json::Json;

namespace {

class PelmarWindowTest : public ::testing::Test {
protected:
    PelmarWindowTest() { window_.show(); }

    template <class T>
    T *Find(const char *name) const
    {
        T *found = window_.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTabWidget *MainTabs() const { return Find<QTabWidget>("pgcMain"); }
    Json Revur() { return window_.GetConfigJson()->at("revur"); }
    bool Load(const char *revur, QString *message = nullptr)
    {
        QString text;
        const bool ok = window_.LoadConfigJson(Json{{"revur", *json::Parse(revur)}}, text);
        if (message)
            *message = text;
        return ok;
    }
    std::vector<QString> VisibleTabs() const
    {
        std::vector<QString> tabs;
        for (int i = 0; i < MainTabs()->count(); ++i)
            if (MainTabs()->isTabVisible(i))
                tabs.push_back(MainTabs()->tabText(i));
        return tabs;
    }
    // Captions of one group of the identifier table.
    QStringList IdRows(int group) const
    {
        QStringList rows;
        const auto *model = window_.idModel();
        const QModelIndex parent = model->index(group, 0);
        for (int row = 0; row < model->rowCount(parent); ++row)
            rows << model->index(row, 0, parent).data().toString();
        return rows;
    }
    QStringList ObjectTabs() const
    {
        QStringList tabs;
        auto *pages = Find<QTabWidget>("pgcSO");
        for (int i = 0; i < pages->count(); ++i)
            tabs << pages->tabText(i);
        return tabs;
    }

    ScriptedDialogs dialogs_;
    TfmConfPelmar window_;
};

TEST_F(PelmarWindowTest, NewWindowDocument)
{
    EXPECT_EQ(window_.windowTitle(), "Конфигурация Pelmar");
    const Json v = Revur();
    EXPECT_EQ(v["so"], Json::array());
    EXPECT_EQ(json::RenderCompact(v["det"]),
              R"({"en":false,"name":"Контроллер датчиков","id":4001,"app_id":65009,"dirs":[],"bods":[]})");
    EXPECT_EQ(v["id"], 2001);
    EXPECT_EQ(v["utcs_id"], 65023);
    EXPECT_EQ(v["gprs"]["regs"].size(), 2u);
    EXPECT_EQ(v["eth"]["regs"].size(), 2u);
    EXPECT_EQ(v["eth"]["prior"], 1);
    EXPECT_EQ(v["web"]["port"], 80);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F][26AE](-[0-9A-F]{2}){5}$"))
                    .match(QString::fromStdString(v["eth"]["mac"].get<std::string>()))
                    .hasMatch());
    // This computer's zone, as the list shows it.
    const auto zone = widgets::SelectedTimeZone(*Find<QComboBox>("cbTimeZone"));
    ASSERT_TRUE(zone);
    EXPECT_EQ(v["geo"]["tzname"], zone->displayName.toStdString());
    EXPECT_EQ(v["geo"]["tz"], zone->OffsetMinutes());
    EXPECT_EQ(Find<QComboBox>("comboTimeSource")->currentText(), "Узел связи");

    // Same state, same document: nothing counts as modified.
    window_.MarkUnmodified();
    EXPECT_FALSE(window_.IsModified());
    Find<QLineEdit>("edObjectTitle")->setText("x"); // programmatic: not an edit
    QTest::keyClicks(Find<QLineEdit>("edSID"), "S1");
    EXPECT_TRUE(window_.IsModified());
    EXPECT_EQ(Revur()["sid"], "S1");
}

TEST_F(PelmarWindowTest, TabsFollowTheSwitches)
{
    EXPECT_EQ(VisibleTabs(), (std::vector<QString>{"Общие", "Идентификаторы"}));
    Find<QCheckBox>("cbUsesGPRS")->click();
    Find<QCheckBox>("cbUsesEthernet")->click();
    Find<QCheckBox>("cbUseSensorsModule")->click();
    Find<QSpinBox>("edSO")->setValue(2);
    EXPECT_EQ(VisibleTabs(), (std::vector<QString>{"Общие", "GPRS", "Ethernet", "Идентификаторы", "СО / КНО",
                                                   "Контроллер датчиков"}));
    const Json v = Revur();
    EXPECT_EQ(v["gprs"]["en"], true);
    EXPECT_EQ(v["eth"]["en"], true);
    EXPECT_EQ(v["det"]["en"], true);
    EXPECT_EQ(v["so"].size(), 2u);

    Find<QCheckBox>("cbUsesGPRS")->click();
    Find<QSpinBox>("edSO")->setValue(0);
    EXPECT_EQ(VisibleTabs(),
              (std::vector<QString>{"Общие", "Ethernet", "Идентификаторы", "Контроллер датчиков"}));

    // DHCP leaves the addresses to the network.
    auto *dhcp = Find<QCheckBox>("cbUseDHCP");
    dhcp->click();
    for (const char *name : {"edSelfIP", "edGateIP", "edMask"})
        EXPECT_FALSE(Find<QLineEdit>(name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QLineEdit>("edServerIP")->isEnabled());
    dhcp->click();
    for (const char *name : {"edSelfIP", "edGateIP", "edMask"})
        EXPECT_TRUE(Find<QLineEdit>(name)->isEnabled()) << name;

    // "Случайный" makes another locally administered unicast address.
    auto *mac = Find<QLineEdit>("edMAC");
    const QString before = mac->text();
    Find<QPushButton>("btnRandMac")->click();
    EXPECT_NE(mac->text(), before);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F][26AE](-[0-9A-F]{2}){5}$"))
                    .match(mac->text())
                    .hasMatch());
    EXPECT_EQ(Revur()["eth"]["mac"], mac->text().toStdString());

    // The priority protocol.
    Find<QRadioButton>("rbMainGPRS")->click();
    EXPECT_EQ(Revur()["gprs"]["prior"], 1);
    EXPECT_EQ(Revur()["eth"]["prior"], 0);
}

TEST_F(PelmarWindowTest, ObjectPagesAndIdentifierTableStayInStep)
{
    EXPECT_EQ(IdRows(0), (QStringList{"Pelmar", "КД"}));
    EXPECT_EQ(IdRows(1), QStringList{}); // no objects, no module
    Find<QSpinBox>("edSO")->setValue(3);
    EXPECT_EQ(ObjectTabs(), (QStringList{"СО 1", "СО 2", "СО 3"}));
    EXPECT_EQ(IdRows(0), (QStringList{"Pelmar", "СО 1", "СО 2", "СО 3", "КД"}));
    EXPECT_EQ(IdRows(1), QStringList{"СО"});
    Find<QCheckBox>("cbUseSensorsModule")->click();
    EXPECT_EQ(IdRows(1), (QStringList{"СО", "КД"}));

    // The table's "Dec" of object 2 reaches its page; the page's field reaches the table.
    auto *model = window_.idModel();
    const QModelIndex second = model->EntryIndex(0, 2, widgets::IdentifierTableModel::kDecColumn);
    ASSERT_TRUE(model->setData(second, 700, Qt::EditRole));
    auto *pages = Find<QTabWidget>("pgcSO");
    EXPECT_EQ(pages->widget(1)->findChild<QSpinBox *>("edID")->value(), 700);
    EXPECT_EQ(Revur()["so"][1]["id"], 700);
    pages->widget(2)->findChild<QSpinBox *>("edID")->setValue(0x1AB);
    EXPECT_EQ(model->EntryIndex(0, 3, widgets::IdentifierTableModel::kHexColumn).data().toString(), "1AB");
    EXPECT_EQ(Revur()["so"][2]["id"], 0x1AB);
    EXPECT_EQ(ObjectTabs()[1], "СО 2"); // the caption keeps the identifier the page was made with

    // The page's other fields.
    QWidget *first = pages->widget(0);
    auto *name = first->findChild<QLineEdit *>("edSOName");
    name->end(false);
    name->insert(QStringLiteral(" Мира")); // as typed
    first->findChild<QSpinBox *>("intRetentionTime")->setValue(45);
    first->findChild<QCheckBox *>("cbSendPhaseChanges")->click();
    first->findChild<QGroupBox *>("gbSO")->setChecked(false);
    EXPECT_FALSE(name->isEnabled()); // the group's check box switches the object's fields
    EXPECT_EQ(
        json::RenderCompact(Revur()["so"][0]),
        R"({"en":false,"name":"Светофорный объект Мира","id":1,"du_time":45,"phase_change_messages":true})");

    // Typing "12" does not pass through 1 object on the way.
    auto *count = Find<QSpinBox>("edSO");
    count->selectAll();
    QTest::keyClicks(count, "12");
    EXPECT_EQ(ObjectTabs().size(), 3);
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_EQ(ObjectTabs().size(), 12);
    EXPECT_EQ(Revur()["so"][0]["name"], "Светофорный объект Мира");

    count->setValue(1); // pages and entries leave from the end
    EXPECT_EQ(ObjectTabs(), QStringList{"СО 1"});
    EXPECT_EQ(IdRows(0), (QStringList{"Pelmar", "СО 1", "КД"}));
}

TEST_F(PelmarWindowTest, ReadingAndItsRules)
{
    Find<QLineEdit>("edUser")->setText("keep"); // shown values only; the model holds its own
    ASSERT_TRUE(Load(R"({"name":"Мира","so":[{"en":true},{"en":false},{}],"gprs":{"en":true},
                          "det":{"en":true,"dirs":[{"name":"Север"}],"bods":[{"num":3,"lanes":[{"num":2},{"num":1,"dir":1}]}]},
                          "web":{"en":true,"login":"YWRtaW46cGFzcw=="}})"));
    EXPECT_EQ(MainTabs()->currentIndex(), TfmConfPelmar::kGeneralTab);
    EXPECT_EQ(Find<QLineEdit>("edObjectTitle")->text(), "Мира");
    EXPECT_EQ(ObjectTabs(), (QStringList{"СО 1", "СО 2", "СО 3"}));
    EXPECT_EQ(IdRows(0), (QStringList{"Pelmar", "СО 1", "СО 2", "СО 3", "КД"}));
    EXPECT_EQ(Find<QLineEdit>("edUser")->text(), "admin");
    EXPECT_EQ(Find<QLineEdit>("edPass")->text(), "pass");
    EXPECT_EQ(VisibleTabs(),
              (std::vector<QString>{"Общие", "GPRS", "Идентификаторы", "СО / КНО", "Контроллер датчиков"}));
    EXPECT_FALSE(Find<QRadioButton>("rbMainGPRS")->isChecked()); // "prior" absent
    EXPECT_TRUE(window_.keptConfig());

    // A sensor's direction is shown by name and position; one without shows "[нет]".
    auto *blocks = Find<widgets::InPlaceTreeView>("vtBlocks");
    const QModelIndex bod = blocks->model()->index(0, 0);
    EXPECT_EQ(bod.data().toString(), "3");
    EXPECT_EQ(blocks->model()->index(0, 1, bod).data().toString(), "Север [1]"); // sensor 1
    EXPECT_EQ(blocks->model()->index(1, 1, bod).data().toString(), "[нет]");     // sensor 2

    // A document read in part: the message names the member, what came before shows.
    QString message;
    EXPECT_FALSE(Load(R"({"name":"Ленина","eth":{"en":true,"server":{"url":"srv:80a"}},"web":{"en":false}})",
                      &message));
    EXPECT_TRUE(message.contains("«revur.eth.server.url»")) << message.toStdString();
    EXPECT_EQ(Find<QLineEdit>("edObjectTitle")->text(), "Ленина");
    EXPECT_EQ(Find<QLineEdit>("edServerIP")->text(), "srv");
    EXPECT_TRUE(Find<QGroupBox>("gbWeb")->isChecked()); // not reached
    EXPECT_EQ(ObjectTabs(), QStringList{});             // "so" was started afresh

    EXPECT_FALSE(window_.LoadConfigJson(Json{{"vantor5", Json::object()}}, message));
    EXPECT_EQ(message, "Некорректная конфигурация");
    EXPECT_EQ(Find<QLineEdit>("edObjectTitle")->text(), "Ленина");
}

TEST_F(PelmarWindowTest, AZoneFromAnotherComputerIsShownAndSurvivesEditing)
{
    ASSERT_TRUE(Load(R"({"geo":{"en":true,"tz":317,"tzname":"(UTC+05:17) Nowhere/Test"}})"));
    auto *zones = Find<QComboBox>("cbTimeZone");
    EXPECT_EQ(zones->currentText(), "(UTC+05:17) Nowhere/Test");
    EXPECT_TRUE(Find<QGroupBox>("gbxGPS")->isChecked());
    // Any edit takes the window's values back into the document: the zone stays.
    QTest::keyClicks(Find<QLineEdit>("edSID"), "S");
    EXPECT_EQ(json::RenderCompact(Revur()["geo"]),
              R"({"en":true,"tz":317,"tzname":"(UTC+05:17) Nowhere/Test"})");

    // Choosing another zone writes that one.
    const int other = zones->currentIndex() == 0 ? 1 : 0;
    zones->setCurrentIndex(other);
    const auto chosen = widgets::SelectedTimeZone(*zones);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(Revur()["geo"]["tzname"], chosen->displayName.toStdString());
    EXPECT_EQ(Revur()["geo"]["tz"], chosen->OffsetMinutes());
}

TEST_F(PelmarWindowTest, TextsThatCannotBeStoredCannotBeTyped)
{
    auto *user = Find<QLineEdit>("edUser");
    Find<QGroupBox>("gbWeb")->setChecked(true);
    QTest::keyClicks(user, "ad:min");
    EXPECT_EQ(user->text(), "admin");
    auto *password = Find<QLineEdit>("edPass");
    password->insert(QStringLiteral("пароль")); // as typed
    password->insert(QStringLiteral("中"));
    EXPECT_EQ(password->text(), "пароль");
    EXPECT_EQ(Revur()["web"]["login"], "YWRtaW467+Dw7uv8"); // "admin:пароль" in Windows-1251

    auto *server = Find<QLineEdit>("edServerIP");
    QTest::keyClicks(server, "srv:1");
    EXPECT_EQ(server->text(), "srv1");

    // A stored text longer than a field's limit is shown and written whole.
    std::string longName(150, 'x');
    ASSERT_TRUE(Load(("{\"name\":\"" + longName + "\"}").c_str()));
    EXPECT_EQ(Revur()["name"], longName);
}

TEST_F(PelmarWindowTest, RegistrationServerLists)
{
    Find<QCheckBox>("cbUsesGPRS")->click();
    MainTabs()->setCurrentIndex(TfmConfPelmar::kGprsTab);
    auto *plus = Find<QAction>("actPlus");
    auto *minus = Find<QAction>("actMinus");
    auto *frame = Find<QWidget>("frmRegGPRS");
    auto *view = frame->findChild<widgets::InPlaceTreeView *>("vtReg");
    EXPECT_TRUE(plus->isEnabled());
    plus->trigger();
    EXPECT_EQ(json::RenderCompact(Revur()["gprs"]["regs"][2]), R"({"ip":"0.0.0.0","port":80,"script":""})");

    // An address typed into its cell.
    const QModelIndex ip = view->model()->index(2, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(ip).center());
    QWidget *editor = view->indexWidget(ip);
    ASSERT_NE(editor, nullptr);
    auto *edit = qobject_cast<QLineEdit *>(editor);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "10.20.30.40");
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Revur()["gprs"]["regs"][2]["ip"], "10.20.30.40");

    // "–": the selected row, else the last one.
    view->selectionModel()->select(view->model()->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    minus->trigger();
    EXPECT_EQ(Revur()["gprs"]["regs"][0]["ip"], "192.0.2.20");
    view->selectionModel()->clearSelection();
    minus->trigger();
    EXPECT_EQ(Revur()["gprs"]["regs"].size(), 1u);
    minus->trigger();
    EXPECT_FALSE(minus->isEnabled());
    EXPECT_EQ(Revur()["gprs"]["regs"], Json::array());

    // "Default" on an empty list asks nothing; on a list of the engineer's it asks.
    auto *defaults = frame->findChild<QPushButton *>("btnRegDef");
    defaults->click();
    EXPECT_EQ(Revur()["gprs"]["regs"].size(), 2u);
    EXPECT_TRUE(dialogs_.Shown().empty());
    plus->trigger();
    dialogs_.AnswerNext(QMessageBox::No);
    defaults->click();
    EXPECT_EQ(Revur()["gprs"]["regs"].size(), 3u);
    dialogs_.AnswerNext(QMessageBox::Yes);
    defaults->click();
    EXPECT_EQ(Revur()["gprs"]["regs"].size(), 2u);
    EXPECT_EQ(dialogs_.Texts(ScriptedDialogs::Kind::Question).size(), 2);

    // "+" and "–" do nothing on tabs without a list.
    MainTabs()->setCurrentIndex(TfmConfPelmar::kGeneralTab);
    EXPECT_FALSE(plus->isEnabled());
    EXPECT_FALSE(minus->isEnabled());
}

} // namespace
