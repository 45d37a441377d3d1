// The Rudex window: controls bound to the configuration, the identifier table.
#include "devices/rudex/UConfRudex.h"

#include "app/UserDialogs.h"
#include "app/widgets/IdentifierTable.h"
#include "app/widgets/InPlaceViews.h"

#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace vantor;
using namespace vantor::test;

namespace {

class RudexWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ShowActive(window_); }

    std::string Written() { return json::RenderCompact(*window_.GetConfigJson()); }
    bool Load(const char *text)
    {
        QString message;
        const bool loaded = window_.LoadConfigJson(*json::ParseObject(text), message);
        message_ = message;
        return loaded;
    }
    widgets::InPlaceTreeView &Tree() { return *Find<widgets::InPlaceTreeView>(window_, "vtIDs"); }
    QModelIndex Cell(int group, int column)
    {
        return Tree().model()->index(0, column, Tree().model()->index(group, 0));
    }
    QString Shown(int group, int column) { return Cell(group, column).data().toString(); }

    ScriptedDialogs dialogs_;
    TfmConfRudex window_;
    QString message_;
};

TEST_F(RudexWindowTest, ANewWindowShowsAndWritesTheDefaults)
{
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Контроллер электросчетчиков"));
    EXPECT_EQ(Written(), R"({"whmeter":{"en":true,"name":"","id":1,"app_id":1,"psw":"","psw_def":false}})");
    auto *group = Find<QGroupBox>(window_, "gbRudex");
    EXPECT_TRUE(group->isCheckable());
    EXPECT_TRUE(group->isChecked());
    EXPECT_EQ(group->title(), QStringLiteral(" Контроллер электросчетчиков "));
    EXPECT_EQ(Find<QLineEdit>(window_, "edPass")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Find<QCheckBox>(window_, "cbDefaultPass")->text(), QStringLiteral("Пароль по умолчанию"));
    EXPECT_FALSE(window_.IsModified());

    // The table: two groups that stay open, one "Rudex" entry each.
    QAbstractItemModel *model = Tree().model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("Собственный ID"));
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("ID приложения"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Dec"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Hex"));
    for (int group = 0; group < 2; ++group) {
        EXPECT_TRUE(Tree().isExpanded(model->index(group, 0)));
        EXPECT_EQ(Shown(group, 0), QStringLiteral("Rudex"));
        EXPECT_EQ(Shown(group, 1), QStringLiteral("1"));
        EXPECT_EQ(Shown(group, 2), QStringLiteral("1"));
    }
    EXPECT_FALSE(Tree().itemsExpandable());
}

TEST_F(RudexWindowTest, TheHexCellShowsUpperCaseDigitsWithoutPadding)
{
    ASSERT_TRUE(Load(R"({"whmeter":{"en":true,"id":255,"app_id":10}})"));
    EXPECT_EQ(Shown(0, 1), QStringLiteral("255"));
    EXPECT_EQ(Shown(0, 2), QStringLiteral("FF"));
    EXPECT_EQ(Shown(1, 2), QStringLiteral("A"));
}

TEST_F(RudexWindowTest, EditingDecOrHexStoresEveryChangeAtOnce)
{
    ClickCell(Tree(), Cell(0, 1));
    auto *dec = qobject_cast<QSpinBox *>(Tree().indexWidget(Cell(0, 1)));
    ASSERT_NE(dec, nullptr);
    QTest::keyClicks(dec, "4660");
    // Still editing, and the Hex column and the document already follow.
    EXPECT_EQ(Shown(0, 2), QStringLiteral("1234"));
    EXPECT_EQ(window_.config().IdValue(rudex::kOwnIdGroup), 4660);
    QTest::keyClick(dec, Qt::Key_Return);
    Settle();

    ClickCell(Tree(), Cell(1, 2));
    auto *hex = qobject_cast<QSpinBox *>(Tree().indexWidget(Cell(1, 2)));
    ASSERT_NE(hex, nullptr);
    QTest::keyClicks(hex, "ffff");
    EXPECT_EQ(Shown(1, 1), QStringLiteral("65535"));
    QTest::keyClick(hex, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Tree().indexWidget(Cell(1, 2)), nullptr);
    EXPECT_EQ(Written(),
              R"({"whmeter":{"en":true,"name":"","id":4660,"app_id":65535,"psw":"","psw_def":false}})");
    EXPECT_TRUE(window_.IsModified());

    // Group rows and captions are not edited.
    ClickCell(Tree(), Tree().model()->index(0, 0));
    ClickCell(Tree(), Cell(0, 0));
    for (const QWidget *child : Tree().viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(child->isVisible()) << child->metaObject()->className();
}

TEST_F(RudexWindowTest, ControlsStoreTheirValuesAndADocumentWithoutEnLeavesTheGroupUnchecked)
{
    Find<QLineEdit>(window_, "edName")->setText(QStringLiteral("Подстанция 7"));
    Find<QLineEdit>(window_, "edPass")->setText(QStringLiteral("1234"));
    Find<QCheckBox>(window_, "cbDefaultPass")->setChecked(true);
    Find<QGroupBox>(window_, "gbRudex")->setChecked(false);
    EXPECT_EQ(
        Written(),
        R"({"whmeter":{"en":false,"name":"Подстанция 7","id":1,"app_id":1,"psw":"1234","psw_def":true}})");
    EXPECT_FALSE(Find<QLineEdit>(window_, "edName")->isEnabled()); // the group's switch disables its controls

    ASSERT_TRUE(Load(R"({"whmeter":{"name":"Щит","id":7}})"));
    EXPECT_FALSE(Find<QGroupBox>(window_, "gbRudex")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(window_, "edName")->text(), QStringLiteral("Щит"));
    EXPECT_EQ(Find<QLineEdit>(window_, "edPass")->text(), QString());
    EXPECT_FALSE(Find<QCheckBox>(window_, "cbDefaultPass")->isChecked());
    EXPECT_EQ(Shown(0, 1), QStringLiteral("7"));
    EXPECT_EQ(Shown(1, 1), QStringLiteral("1")); // absent: kept
    EXPECT_FALSE(window_.IsModified());
    ASSERT_TRUE(window_.keptConfig());
}

TEST_F(RudexWindowTest, ARefusedDocumentSaysWhyAndShowsWhatWasRead)
{
    EXPECT_FALSE(Load(R"({"navet":{}})"));
    EXPECT_EQ(message_, QStringLiteral("Некорректная конфигурация"));
    EXPECT_FALSE(Load(R"({"whmeter":{"en":true,"name":"До ошибки","id":"x"}})"));
    EXPECT_EQ(message_, QStringLiteral("Некорректное значение «whmeter.id» (\"x\"): ожидается целое число."));
    EXPECT_EQ(Find<QLineEdit>(window_, "edName")->text(), QStringLiteral("До ошибки"));
    EXPECT_FALSE(window_.keptConfig());
}

} // namespace
