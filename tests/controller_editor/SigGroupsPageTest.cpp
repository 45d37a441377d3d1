// The page "Сигнальные группы": adding, editing and deleting groups, and the
// references of information sections and panels.
#include "VantorWindowFixture.h"

#include "controller_editor/BlocksPage.h"
#include "controller_editor/SemaphoreTreeModel.h"
#include "controller_editor/SigGroupTreeModel.h"

#include <QLabel>
#include <QTreeView>

namespace vantor::test {
namespace {

class SigGroupsPageTest : public VantorWindowTest {
protected:
    QTreeView *Tree() { return Find<QTreeView>("vtSigGroups"); }
    QAbstractItemModel *Model() { return Tree()->model(); }
    QModelIndex Group(int row, int column = 0) { return Model()->index(row, column); }
    QString Text(const QModelIndex &index) { return index.data().toString(); }

    void Add(const char *item) { AddFromMenu(TfmConfVantor::kSigGroupsPage, QString::fromUtf8(item)); }
};

TEST_F(SigGroupsPageTest, TheAddMenuOffersEveryKindInOrder)
{
    QMenu *menu = PressAdd(TfmConfVantor::kSigGroupsPage);
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    QList<int> tags;
    for (QAction *action : menu->actions()) {
        captions << action->text();
        tags << action->data().toInt();
        EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
    }
    EXPECT_EQ(captions,
              (QStringList{"Транспортная", "Пешеходная", "Стрелка", "Трамвайная", "Реверсивная",
                           "Информационная секция", "Табло \"ЖДИТЕ\"", "Табло \"ИДИТЕ\"", "Светильник"}));
    EXPECT_EQ(tags, (QList<int>{0, 10, 30, 40, 65, 75, 80, 85, 70}));
}

TEST_F(SigGroupsPageTest, AddedGroupsShowTheirDirectionsAndHeads)
{
    window_->ShowPage(TfmConfVantor::kSigGroupsPage);
    auto *empty = Tree()->viewport()->findChild<QLabel *>("lblEmptyText");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->text(), "[Нет сигнальных групп]");
    EXPECT_TRUE(empty->isVisible());

    Add("Транспортная");
    Add("Стрелка");
    Add("Информационная секция");
    Add("Трамвайная");
    EXPECT_FALSE(empty->isVisible());
    ASSERT_EQ(Model()->rowCount(), 4);

    // An arrow: one direction; an information section: no child rows.
    EXPECT_EQ(Text(Group(1)), "2С");
    EXPECT_EQ(Text(Group(1, SigGroupTreeModel::kDescriptionColumn)), "Стрелка");
    EXPECT_EQ(Text(Group(1, SigGroupTreeModel::kHeadsColumn)), "1");
    EXPECT_EQ(Text(Group(1, SigGroupTreeModel::kAlarmsColumn)), "0");
    ASSERT_EQ(Model()->rowCount(Group(1)), 1);
    EXPECT_EQ(Text(Model()->index(0, 0, Group(1))), "2С");
    EXPECT_EQ(Model()->rowCount(Group(2)), 0);
    // The tram: three directions under one number (the stop lamp type is none).
    ASSERT_EQ(Model()->rowCount(Group(3)), 3);
    EXPECT_EQ(Text(Model()->index(0, 0, Group(3))), "3Tл");
    EXPECT_EQ(Text(Model()->index(2, 0, Group(3))), "3Тп");
    EXPECT_EQ(Config().Conflicts.Size(), 5); // 1Т, 2С and the tram's three

    // The arrow's head has three lamps on "Блоки и подключения".
    window_->ShowPage(TfmConfVantor::kBlocksPage);
    auto &heads = static_cast<BlocksPage *>(window_->PageWidget(TfmConfVantor::kBlocksPage))->HeadsModel();
    const QModelIndex arrow = heads.index(1, 0);
    ASSERT_EQ(heads.rowCount(arrow), 1);
    EXPECT_EQ(heads.rowCount(heads.index(0, 0, arrow)), 3);

    const json::Json v = Document();
    ASSERT_EQ(v["sig_groups"].size(), 4u);
    EXPECT_EQ(v["dirs"]["at"].size(), 5u);
    EXPECT_EQ(v["dirs"]["at"][1]["type"], 3); // the arrow's direction
}

TEST_F(SigGroupsPageTest, NamesAreEditedInPlaceAndTrimmed)
{
    Add("Транспортная");
    Add("Пешеходная");
    const QModelIndex description = Group(1, SigGroupTreeModel::kDescriptionColumn);
    EXPECT_EQ(Text(description), "Пешеходная"); // the kind stands in for an empty name

    // Opening and closing the editor without a change keeps the default name.
    Click(Tree(), description);
    ASSERT_NE(Tree()->indexWidget(description), nullptr);
    QTest::keyClick(Tree()->indexWidget(description), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Config().Groups[1]->Name, "");
    EXPECT_EQ(Document()["sig_groups"][1]["n"], "2П");

    EditCell(Tree(), description, QStringLiteral("  Через Ленина  "));
    EXPECT_EQ(Config().Groups[1]->Name, "Через Ленина");
    EXPECT_EQ(Document()["sig_groups"][1]["n"], "Через Ленина");

    // A direction row renames the direction.
    Tree()->expand(Group(0));
    EditCell(Tree(), Model()->index(0, SigGroupTreeModel::kDescriptionColumn, Group(0)),
             QStringLiteral("Ленина"));
    EXPECT_EQ(Document()["dirs"]["at"][0]["n"], "Ленина");
    // The group's own number column and a direction's counts are not editable.
    EXPECT_FALSE(Group(0).flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(Model()->index(0, SigGroupTreeModel::kHeadsColumn, Group(0)).flags() & Qt::ItemIsEditable);
}

TEST_F(SigGroupsPageTest, HeadAndAlarmCountsFollowTheirRules)
{
    Add("Транспортная");
    const QModelIndex heads = Group(0, SigGroupTreeModel::kHeadsColumn);
    const QModelIndex alarms = Group(0, SigGroupTreeModel::kAlarmsColumn);
    const struct {
        QModelIndex cell;
        const char *typed;
        int heads, alarms;
    } steps[] = {
        {alarms, "3", 1, 0}, // not below the head count: heads - 1
        {heads, "5", 5, 0},  {alarms, "3", 5, 3},
        {heads, "2", 2, 1},                      // fewer heads than tolerated faults: heads - 1
        {heads, "4", 4, 1},  {heads, "3", 3, 0}, // one head fewer: one fault fewer
        {heads, "0", 0, 0},
    };
    for (const auto &step : steps) {
        EditCell(Tree(), step.cell, QString::fromLatin1(step.typed));
        EXPECT_EQ(Config().Groups[0]->HeadCount(), step.heads) << step.typed;
        EXPECT_EQ(Config().Groups[0]->AlarmCount, step.alarms) << step.typed;
        EXPECT_EQ(Text(heads), QString::number(step.heads));
        EXPECT_EQ(Text(alarms), QString::number(step.alarms));
    }
    EditCell(Tree(), heads, QStringLiteral("2"));
    const json::Json group = Document()["sig_groups"][0];
    EXPECT_EQ(group["semaphores"].size(), 2u);
    EXPECT_EQ(group["conns_alarm_count"], 0);
}

TEST_F(SigGroupsPageTest, PanelsAndSectionsFollowDirectionsAndTriggers)
{
    Add("Транспортная");
    Add("Трамвайная");
    Add("Табло \"ЖДИТЕ\"");
    Add("Информационная секция");
    Config().AddTrigger();
    Config().AddTrigger();

    // Groups with own directions have no such menu.
    EXPECT_EQ(ContextMenu(Tree(), Group(0)), nullptr);

    QMenu *menu = ContextMenu(Tree(), Group(2));
    ASSERT_NE(menu, nullptr);
    QStringList submenus;
    for (QAction *action : menu->actions())
        submenus << action->text();
    EXPECT_EQ(submenus, (QStringList{"1Т - Транспортная", "2Тр - Трамвайная", "Триггеры"}));
    EXPECT_EQ(FindAction(menu, "[Удалить]"), nullptr); // no child row chosen
    FindAction(menu, "2Тв")->trigger();
    ClosePopups();
    EXPECT_EQ(Config().Groups[2]->Directions.Count(), 1);
    ASSERT_EQ(Model()->rowCount(Group(2)), 1);
    EXPECT_EQ(Text(Model()->index(0, 0, Group(2))), "2Тв");

    // A panel follows one source: a second direction or a trigger does nothing.
    menu = ContextMenu(Tree(), Group(2));
    QAction *second = FindAction(menu, "1Т");
    EXPECT_FALSE(second->isEnabled());
    second->trigger();
    FindAction(menu, "1ТРГ")->trigger();
    ClosePopups();
    EXPECT_EQ(Config().Groups[2]->Directions.Count(), 1);
    EXPECT_EQ(Config().Groups[2]->Triggers.Count(), 0);

    // An information section follows two: a direction and a trigger.
    for (const char *item : {"1Т", "2ТРГ", "2Tл"}) {
        FindAction(ContextMenu(Tree(), Group(3)), QString::fromUtf8(item))->trigger();
        ClosePopups();
    }
    EXPECT_EQ(Config().Groups[3]->Directions.Count(), 1);
    EXPECT_EQ(Config().Groups[3]->Triggers.Count(), 1);
    ASSERT_EQ(Model()->rowCount(Group(3)), 2);
    EXPECT_EQ(Text(Model()->index(1, 0, Group(3))), "2ТРГ");
    EXPECT_EQ(Document()["sig_groups"][3]["dirs"], json::Json::parse("[1,-2]"));

    // "[Удалить]" on a child row removes that reference.
    menu = ContextMenu(Tree(), Model()->index(0, 0, Group(3)));
    ASSERT_NE(FindAction(menu, "[Удалить]"), nullptr);
    FindAction(menu, "[Удалить]")->trigger();
    ClosePopups();
    EXPECT_EQ(Config().Groups[3]->Directions.Count(), 0);
    EXPECT_EQ(Document()["sig_groups"][3]["dirs"], json::Json::parse("[-2]"));
}

TEST_F(SigGroupsPageTest, DeletingTakesTheSelectedGroupOrTheLast)
{
    Add("Транспортная");
    Add("Пешеходная");
    Add("Стрелка");
    Add("Табло \"ИДИТЕ\"");
    FindAction(ContextMenu(Tree(), Group(3)), "2П")->trigger();
    ClosePopups();

    // A child row stands for its group.
    Tree()->setCurrentIndex(Model()->index(0, 0, Group(1)));
    PressDelete(TfmConfVantor::kSigGroupsPage);
    ASSERT_EQ(Config().Groups.Count(), 3);
    EXPECT_EQ(Config().Groups[1]->Kind(), GroupKind::Arrow);
    EXPECT_EQ(Config().Groups[2]->Directions.Count(), 0); // the panel lost what it followed
    EXPECT_EQ(Config().Conflicts.Size(), 2);

    Tree()->clearSelection();
    Tree()->setCurrentIndex({});
    PressDelete(TfmConfVantor::kSigGroupsPage);
    ASSERT_EQ(Config().Groups.Count(), 2);
    EXPECT_EQ(Config().Groups[1]->Kind(), GroupKind::Arrow);
    PressDelete(TfmConfVantor::kSigGroupsPage);
    PressDelete(TfmConfVantor::kSigGroupsPage);
    PressDelete(TfmConfVantor::kSigGroupsPage); // nothing left: nothing happens
    EXPECT_EQ(Config().Groups.Count(), 0);
    EXPECT_TRUE(Tree()->viewport()->findChild<QLabel *>("lblEmptyText")->isVisible());
}

} // namespace
} // namespace vantor::test
