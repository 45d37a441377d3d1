// The page "Блоки и подключения": block pages from the plug-in registry, the outputs
// grid, and the five ways to wire an output to a lamp.
#include "VantorWindowFixture.h"

#include "controller_editor/BlockOutputsModel.h"
#include "controller_editor/BlocksPage.h"
#include "controller_editor/SemaphoreTreeModel.h"
#include "controller_editor/UVantorBlockFrame.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QStackedWidget>

namespace vantor::test {
namespace {

const QString kSb24 = QStringLiteral("Силовой блок СБ-24 (24 вых.)");
const QString kSb12 = QStringLiteral("Силовой блок СБ-12 (12 вых.)");

class BlocksPageTest : public VantorWindowTest {
protected:
    void SetUp() override
    {
        VantorWindowTest::SetUp();
        transport_ = Config().AddGroup(GroupKind::Transport);
        walkman_ = Config().AddGroup(GroupKind::Walkman);
        window_->ShowPage(TfmConfVantor::kBlocksPage);
    }

    BlocksPage &Page() { return *static_cast<BlocksPage *>(window_->PageWidget(TfmConfVantor::kBlocksPage)); }
    SemaphoreTreeModel &Heads() { return Page().HeadsModel(); }
    QAbstractItemView *HeadTree() { return Find<QAbstractItemView>("vtSemaphores"); }

    TfrmVantorBlock &AddBlock(const QString &item)
    {
        const int before = static_cast<int>(Page().BlockFrames().size());
        AddFromMenu(TfmConfVantor::kBlocksPage, item);
        const auto frames = Page().BlockFrames();
        EXPECT_EQ(static_cast<int>(frames.size()), before + 1);
        return *frames.back();
    }

    QModelIndex Lamp(TTrendGroup *group, int head, int lampPos, int column = 0)
    {
        return Heads().LampIndex(group->Heads[head], lampPos, column);
    }
    static QModelIndex Output(TfrmVantorBlock &frame, int row, int column = 0)
    {
        return frame.OutputsModel().index(row, column);
    }

    // Drags one row of a model and drops it onto a row of another, as the views do
    // (drops land on a row: the row is the parent, row and column are -1).
    static bool Drag(QAbstractItemModel &from, const QModelIndex &source, QAbstractItemModel &to,
                     const QModelIndex &target)
    {
        std::unique_ptr<QMimeData> data(from.mimeData({source}));
        if (!data || !to.canDropMimeData(data.get(), Qt::LinkAction, -1, -1, target))
            return false;
        const bool dropped = to.dropMimeData(data.get(), Qt::LinkAction, -1, -1, target);
        QApplication::processEvents(); // the pages refresh after the drop
        return dropped;
    }

    // What a lamp row shows in "Светофор/Подключение".
    QString Wiring(TTrendGroup *group, int head, int lampPos)
    {
        return Lamp(group, head, lampPos, SemaphoreTreeModel::kHeadColumn).data().toString();
    }

    TTrendGroup *transport_ = nullptr;
    TTrendGroup *walkman_ = nullptr;
};

TEST_F(BlocksPageTest, BlockPagesComeFromThePluginMenu)
{
    auto *noBlocks = Find<QLabel>("pnlNoBlocks");
    EXPECT_EQ(noBlocks->text(), "[Нет блоков]");
    EXPECT_TRUE(noBlocks->isVisible());

    QMenu *menu = PressAdd(TfmConfVantor::kBlocksPage);
    ASSERT_NE(menu, nullptr);
    ASSERT_FALSE(menu->actions().isEmpty());
    QMenu *family = menu->actions().first()->menu();
    ASSERT_NE(family, nullptr);
    EXPECT_EQ(menu->actions().first()->text(), "Силовые блоки");
    EXPECT_NE(FindAction(family, kSb24), nullptr);
    EXPECT_NE(FindAction(family, "Универсальный силовой блок СБУ-32 на 32 выхода"), nullptr);
    ClosePopups();

    TfrmVantorBlock &first = AddBlock(kSb24);
    TfrmVantorBlock &second = AddBlock(kSb12);
    EXPECT_FALSE(noBlocks->isVisible());
    auto *pages = Find<QTabWidget>("pgcBlocks");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Блок №1: \"Силовой блок СБ-24\"");
    EXPECT_EQ(pages->tabText(1), "Блок №2: \"Силовой блок СБ-12\"");
    EXPECT_EQ(pages->currentWidget(), &second);
    EXPECT_EQ(first.findChild<QLabel *>("lblType")->text(), "Силовой блок СБ-24");
    EXPECT_EQ(first.findChild<QLabel *>("lblOutputCount")->text(), "24");
    EXPECT_EQ(first.OutputsModel().rowCount(), 24);
    EXPECT_EQ(Document()["blocks"][1]["m"], 17);

    // A tag that names no model.
    EXPECT_EQ(Page().AddBlockForTag(-999), nullptr);
    EXPECT_EQ(dialogs_.Texts(ScriptedDialogs::Kind::Error), QStringList{"Invalid model id."});

    PressDelete(TfmConfVantor::kBlocksPage);
    PressDelete(TfmConfVantor::kBlocksPage);
    EXPECT_EQ(Config().Blocks.Count(), 0);
    EXPECT_TRUE(noBlocks->isVisible());
}

TEST_F(BlocksPageTest, TheBlockFrameEditsEnabledNameAndId)
{
    TfrmVantorBlock &frame = AddBlock(kSb24);
    AddBlock(kSb12);
    Find<QTabWidget>("pgcBlocks")->setCurrentIndex(0);
    auto *box = frame.findChild<QGroupBox *>("gbxBlock");
    EXPECT_EQ(box->title(), "   Включено ");
    box->setChecked(false);
    EXPECT_EQ(box->title(), "   Выключено ");
    EXPECT_FALSE(frame.findChild<QLineEdit *>("edBlockName")->isEnabled());
    EXPECT_EQ(Document()["blocks"][0]["en"], false);
    box->setChecked(true);

    auto *name = frame.findChild<QLineEdit *>("edBlockName");
    name->setFocus();
    name->selectAll();
    TypeText(name, QStringLiteral("Шкаф 1"));
    auto *id = frame.findChild<QSpinBox *>("edBlockId");
    id->setFocus();
    id->selectAll();
    TypeText(id, QStringLiteral("7"));
    EXPECT_EQ(Find<QTabWidget>("pgcBlocks")->tabText(0), "Блок №7: \"Шкаф 1\"");
    EXPECT_EQ(Document()["blocks"][0]["n"], "Шкаф 1");
    EXPECT_EQ(Document()["blocks"][0]["i"], 7);

    // The other block's ID is refused: wiring finds blocks by ID.
    id->selectAll();
    TypeText(id, QStringLiteral("2"));
    QTest::keyClick(id, Qt::Key_Tab);
    EXPECT_EQ(Config().Blocks[0]->ID, 7);
    EXPECT_EQ(id->value(), 7);
    ASSERT_EQ(dialogs_.Texts(ScriptedDialogs::Kind::Error).size(), 1);
    EXPECT_TRUE(dialogs_.Texts(ScriptedDialogs::Kind::Error)[0].contains("Идентификатор 2 уже занят"));
}

TEST_F(BlocksPageTest, DraggingAnOutputOntoALampWiresIt)
{
    TfrmVantorBlock &block = AddBlock(kSb24);
    BlockOutputsModel &outputs = block.OutputsModel();
    // Only lamp rows take an output.
    std::unique_ptr<QMimeData> data(outputs.mimeData({Output(block, 0)}));
    EXPECT_FALSE(Heads().canDropMimeData(data.get(), Qt::LinkAction, -1, -1, Heads().index(0, 0)));
    EXPECT_FALSE(Heads().canDropMimeData(data.get(), Qt::LinkAction, -1, -1,
                                         Heads().index(0, 0, Heads().index(0, 0))));

    ASSERT_TRUE(Drag(outputs, Output(block, 0), Heads(), Lamp(transport_, 0, kLampRed)));
    ASSERT_TRUE(Drag(outputs, Output(block, 2), Heads(), Lamp(transport_, 0, kLampGreen)));
    EXPECT_EQ(transport_->Heads[0]->Output(kLampRed), Config().Blocks[0]->Output(0));
    EXPECT_EQ(Wiring(transport_, 0, kLampRed), "Блок: 1, вых: 1к");
    EXPECT_EQ(Wiring(transport_, 0, kLampYellow), "");
    // Monitoring defaults: red lamp red monitoring, green lamp green monitoring.
    EXPECT_FALSE(Output(block, 0, BlockOutputsModel::kRedControlColumn).data(Qt::DecorationRole).isNull());
    EXPECT_TRUE(Output(block, 0, BlockOutputsModel::kGreenControlColumn).data(Qt::DecorationRole).isNull());
    EXPECT_FALSE(Output(block, 2, BlockOutputsModel::kGreenControlColumn).data(Qt::DecorationRole).isNull());
    EXPECT_EQ(Output(block, 0, BlockOutputsModel::kLampsColumn).data().toInt(), 1);
    EXPECT_FALSE(Output(block, 0).data(Qt::BackgroundRole).isNull()); // wired rows stand out
    EXPECT_TRUE(Output(block, 1).data(Qt::BackgroundRole).isNull());

    // The same output onto another group's lamp moves it there (clean-up), and a
    // pedestrian group allows green monitoring only.
    ASSERT_TRUE(Drag(outputs, Output(block, 0), Heads(), Lamp(walkman_, 0, kLampRed)));
    EXPECT_EQ(transport_->Heads[0]->Output(kLampRed), nullptr);
    EXPECT_EQ(Wiring(transport_, 0, kLampRed), "");
    EXPECT_EQ(Config().Blocks[0]->Output(0)->Owner, walkman_);
    EXPECT_TRUE(Output(block, 0, BlockOutputsModel::kRedControlColumn).data(Qt::DecorationRole).isNull());

    const json::Json v = Document();
    EXPECT_EQ(v["connects"][0]["con"], json::Json::parse("[[],[],[1,3]]"));
    EXPECT_EQ(v["connects"][1]["con"], json::Json::parse("[[1,1],[]]"));
}

TEST_F(BlocksPageTest, DraggingLampsAndHeadsOntoOutputsWiresThem)
{
    TfrmVantorBlock &block = AddBlock(kSb24);
    BlockOutputsModel &outputs = block.OutputsModel();
    // A lamp onto an output.
    ASSERT_TRUE(Drag(Heads(), Lamp(walkman_, 0, kLampGreen), outputs, Output(block, 5)));
    EXPECT_EQ(walkman_->Heads[0]->Output(kLampGreen), Config().Blocks[0]->Output(5));
    EXPECT_EQ(Wiring(walkman_, 0, kLampGreen), "Блок: 1, вых: 2з");

    // A whole head onto consecutive free outputs: red, yellow and green in order.
    const QModelIndex head = Heads().IndexOf(transport_->Heads[0], SemaphoreTreeModel::kHeadRow);
    ASSERT_TRUE(Drag(Heads(), head, outputs, Output(block, 9)));
    for (int lamp = 0; lamp < 3; ++lamp)
        EXPECT_EQ(transport_->Heads[0]->Output(lamp), Config().Blocks[0]->Output(9 + lamp)) << lamp;

    // A three-lamp head onto the last free output but one: only two follow.
    Config().SetHeadCount(transport_, 2);
    Page().Refresh();
    const QModelIndex second = Heads().IndexOf(transport_->Heads[1], SemaphoreTreeModel::kHeadRow);
    EXPECT_FALSE(Drag(Heads(), second, outputs, Output(block, 22)));
    // Nor onto outputs of which one is taken.
    EXPECT_FALSE(Drag(Heads(), second, outputs, Output(block, 3)));
    EXPECT_FALSE(transport_->Heads[1]->HasAnyOutput());
    EXPECT_EQ(Config().Blocks[0]->Output(22)->Owner, nullptr);
    EXPECT_EQ(Config().Blocks[0]->Output(3)->Owner, nullptr);
}

TEST_F(BlocksPageTest, TheLampMenuListsEveryBlocksOutputs)
{
    AddBlock(kSb24);
    TfrmVantorBlock &small = AddBlock(kSb12);
    window_->ShowPage(TfmConfVantor::kBlocksPage);
    QMenu *menu = ContextMenu(HeadTree(), Lamp(transport_, 0, kLampYellow));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction *action : menu->actions())
        items << action->text();
    EXPECT_EQ(items,
              (QStringList{"[Нет]", "Блок №1: \"Силовой блок СБ-24\"", "Блок №2: \"Силовой блок СБ-12\""}));
    // Twenty-four outputs in three columns of eight.
    QMenu *first = menu->actions()[1]->menu();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->findChild<QWidget *>("wgtMenuColumns"), nullptr);
    QAction *output = FindAction(menu->actions()[2]->menu(), "2ж");
    ASSERT_NE(output, nullptr);
    EXPECT_FALSE(output->isChecked());
    output->trigger();
    ClosePopups();
    EXPECT_EQ(transport_->Heads[0]->Output(kLampYellow), Config().Blocks[1]->Output(4));
    EXPECT_EQ(Wiring(transport_, 0, kLampYellow), "Блок: 2, вых: 2ж");
    EXPECT_EQ(Output(small, 4, BlockOutputsModel::kLampsColumn).data().toInt(), 1);

    // The output is shown as taken; "[Нет]" unwires the lamp.
    menu = ContextMenu(HeadTree(), Lamp(transport_, 0, kLampYellow));
    EXPECT_TRUE(FindAction(menu->actions()[2]->menu(), "2ж")->isChecked());
    FindAction(menu, "[Нет]")->trigger();
    ClosePopups();
    EXPECT_EQ(transport_->Heads[0]->Output(kLampYellow), nullptr);
    EXPECT_EQ(Config().Blocks[1]->Output(4)->Owner, nullptr);
    EXPECT_EQ(Output(small, 4, BlockOutputsModel::kLampsColumn).data().toInt(), 0);
    // Group and head rows have no such menu.
    EXPECT_EQ(ContextMenu(HeadTree(), Heads().index(0, 0)), nullptr);
}

TEST_F(BlocksPageTest, TheOutputMenuListsGroupsHeadsAndLamps)
{
    TfrmVantorBlock &block = AddBlock(kSb24);
    Config().SetHeadCount(walkman_, 2);
    window_->ShowPage(TfmConfVantor::kSigGroupsPage);
    window_->ShowPage(TfmConfVantor::kBlocksPage);
    auto *grid = block.findChild<QAbstractItemView *>("vtOutputs");
    QMenu *menu = ContextMenu(grid, Output(block, 7));
    ASSERT_NE(menu, nullptr);
    QStringList groups;
    for (QAction *action : menu->actions())
        groups << action->text();
    EXPECT_EQ(groups, (QStringList{"[Нет]", "1Т - Транспортная", "2П - Пешеходная"}));
    QMenu *walkman = menu->actions()[2]->menu();
    ASSERT_EQ(walkman->actions().size(), 2);
    EXPECT_EQ(walkman->actions()[1]->text(), "Свет. объект 2");
    QStringList lamps;
    for (QAction *action : walkman->actions()[1]->menu()->actions())
        lamps << action->text();
    EXPECT_EQ(lamps, (QStringList{"к", "з"}));

    // One output may feed the green lamps of both heads of one group.
    walkman->actions()[0]->menu()->actions()[1]->trigger();
    ClosePopups();
    menu = ContextMenu(grid, Output(block, 7));
    menu->actions()[2]->menu()->actions()[1]->menu()->actions()[1]->trigger();
    ClosePopups();
    EXPECT_EQ(walkman_->Heads[0]->Output(kLampGreen), Config().Blocks[0]->Output(7));
    EXPECT_EQ(walkman_->Heads[1]->Output(kLampGreen), Config().Blocks[0]->Output(7));
    EXPECT_EQ(Output(block, 7, BlockOutputsModel::kLampsColumn).data().toInt(), 2);
    EXPECT_FALSE(Output(block, 7, BlockOutputsModel::kGreenControlColumn).data(Qt::DecorationRole).isNull());

    // "[Нет]" unwires it from every head of its group.
    FindAction(ContextMenu(grid, Output(block, 7)), "[Нет]")->trigger();
    ClosePopups();
    EXPECT_FALSE(walkman_->Heads[0]->HasAnyOutput());
    EXPECT_FALSE(walkman_->Heads[1]->HasAnyOutput());
    EXPECT_EQ(Output(block, 7, BlockOutputsModel::kLampsColumn).data().toInt(), 0);
}

TEST_F(BlocksPageTest, OnlyWiredOutputsCanBeEdited)
{
    TfrmVantorBlock &block = AddBlock(kSb24);
    auto *grid = block.findChild<QAbstractItemView *>("vtOutputs");
    Config().Wire(transport_->Heads[0], kLampRed, Config().Blocks[0]->Output(0));
    Page().Refresh();

    // An unwired output opens no editor and does not toggle monitoring.
    Click(grid, Output(block, 1, BlockOutputsModel::kPowerColumn));
    EXPECT_EQ(grid->indexWidget(Output(block, 1, BlockOutputsModel::kPowerColumn)), nullptr);
    Click(grid, Output(block, 1, BlockOutputsModel::kGreenControlColumn));
    EXPECT_FALSE(Config().Blocks[0]->Output(1)->ModelOutput->GreenControl);

    const auto cell = [&](int column) { return Output(block, 0, column); };
    const auto text = [&](int column) { return cell(column).data().toString(); };
    EXPECT_EQ(text(BlockOutputsModel::kPowerColumn), "");
    EXPECT_EQ(text(BlockOutputsModel::kDayColumn), "");
    const QLocale locale = grid->locale();
    EditCell(grid, cell(BlockOutputsModel::kPowerColumn), locale.toString(40.5));
    EXPECT_EQ(text(BlockOutputsModel::kPowerColumn), locale.toString(40.5));
    EditCell(grid, cell(BlockOutputsModel::kPowerColumn), QStringLiteral("-3"));
    EXPECT_EQ(text(BlockOutputsModel::kPowerColumn), "Вкл");
    EditCell(grid, cell(BlockOutputsModel::kDayColumn), QStringLiteral("80"));
    EditCell(grid, cell(BlockOutputsModel::kNightColumn), QStringLiteral("20"));
    EditCell(grid, cell(BlockOutputsModel::kShortCurrentColumn), locale.toString(2.25));
    EditCell(grid, cell(BlockOutputsModel::kOnVoltageColumn), QStringLiteral("180"));
    EXPECT_EQ(text(BlockOutputsModel::kShortCurrentColumn), locale.toString(2.25));
    EXPECT_EQ(text(BlockOutputsModel::kOffCurrentColumn), ""); // 0 shows blank

    // "КК" and "КЗ" switch with a click.
    Click(grid, cell(BlockOutputsModel::kRedControlColumn));
    Click(grid, cell(BlockOutputsModel::kGreenControlColumn));
    EXPECT_TRUE(cell(BlockOutputsModel::kRedControlColumn).data(Qt::DecorationRole).isNull());
    EXPECT_FALSE(cell(BlockOutputsModel::kGreenControlColumn).data(Qt::DecorationRole).isNull());

    const json::Json v = Document();
    EXPECT_EQ(v["blocks"][0]["outs"][0], json::Json::parse("[1,-3,80,20]"));
    const json::Json control = v["outs_controls"][0];
    EXPECT_EQ(control["red"], false);
    EXPECT_EQ(control["green"], true);
    EXPECT_DOUBLE_EQ(control["i_short"].get<double>(), 2.25);
    EXPECT_DOUBLE_EQ(control["u_on"].get<double>(), 180);
}

TEST_F(BlocksPageTest, DeletingABlockUnwiresItsHeads)
{
    TfrmVantorBlock &first = AddBlock(kSb24);
    AddBlock(kSb12);
    BlockOutputsModel &outputs = first.OutputsModel();
    const QModelIndex head = Heads().IndexOf(transport_->Heads[0], SemaphoreTreeModel::kHeadRow);
    ASSERT_TRUE(Drag(Heads(), head, outputs, Output(first, 0)));
    Config().Wire(walkman_->Heads[0], kLampGreen, Config().Blocks[1]->Output(0));
    Page().Refresh();

    Find<QTabWidget>("pgcBlocks")->setCurrentIndex(0);
    PressDelete(TfmConfVantor::kBlocksPage);
    ASSERT_EQ(Config().Blocks.Count(), 1);
    EXPECT_FALSE(transport_->Heads[0]->HasAnyOutput());
    EXPECT_EQ(Wiring(transport_, 0, kLampRed), "");
    EXPECT_EQ(Wiring(walkman_, 0, kLampGreen), "Блок: 2, вых: 1к"); // the other block stays
    const json::Json v = Document();
    EXPECT_EQ(v["semaphores"][0]["con"], 0);
    EXPECT_EQ(v["blocks"].size(), 1u);
}

} // namespace
} // namespace vantor::test
