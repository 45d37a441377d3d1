// The identifier table: groups that stay open, Dec and Hex editors on one value.
#include "app/widgets/IdentifierTable.h"
#include "app/widgets/InPlaceViews.h"

#include <QApplication>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace vantor::widgets;

namespace {

// Two groups of plain values; the second group may be hidden entry by entry.
class Values : public IdentifierSource {
public:
    std::vector<std::vector<int>> groups = {{2001, 5}, {65023}};

    int GroupCount() const override { return int(groups.size()); }
    QString GroupCaption(int group) const override { return group == 0 ? "Собственный ID" : "ID приложения"; }
    int EntryCount(int group) const override { return int(groups[std::size_t(group)].size()); }
    QString EntryCaption(int group, int entry) const override
    {
        return QStringLiteral("%1/%2").arg(group).arg(entry);
    }
    int EntryValue(int group, int entry) const override
    {
        return groups[std::size_t(group)][std::size_t(entry)];
    }
    void SetEntryValue(int group, int entry, int value) override
    {
        groups[std::size_t(group)][std::size_t(entry)] = value;
    }
};

class IdentifierTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUpIdentifierView(view_, model_);
        view_.resize(500, 300);
        view_.show();
        QApplication::setActiveWindow(&view_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view_));
    }
    QString Shown(int group, int entry, int column)
    {
        return model_.EntryIndex(group, entry, column).data().toString();
    }
    void Click(const QModelIndex &index)
    {
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, view_.visualRect(index).center());
    }

    Values values_;
    IdentifierTableModel model_{values_, 2};
    InPlaceTreeView view_;
};

TEST_F(IdentifierTableTest, ShowsGroupsWithTheirEntriesInDecimalAndHexadecimal)
{
    ASSERT_EQ(model_.rowCount(), 2);
    EXPECT_EQ(model_.index(0, 0).data().toString(), QStringLiteral("Собственный ID"));
    EXPECT_EQ(model_.rowCount(model_.index(0, 0)), 2);
    EXPECT_EQ(model_.rowCount(model_.index(0, 1)), 0); // only column 0 has children
    EXPECT_EQ(Shown(0, 0, IdentifierTableModel::kDecColumn), QStringLiteral("2001"));
    EXPECT_EQ(Shown(0, 0, IdentifierTableModel::kHexColumn), QStringLiteral("7D1"));
    EXPECT_EQ(Shown(0, 1, IdentifierTableModel::kHexColumn), QStringLiteral("05")); // "%.2x"
    EXPECT_EQ(model_.parent(model_.EntryIndex(1, 0)), model_.index(1, 0));
    EXPECT_TRUE(view_.isExpanded(model_.index(0, 0)));
    EXPECT_TRUE(view_.isExpanded(model_.index(1, 0)));
    EXPECT_FALSE(model_.flags(model_.index(0, IdentifierTableModel::kDecColumn)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model_.flags(model_.EntryIndex(0, 0, IdentifierTableModel::kCaptionColumn)) &
                 Qt::ItemIsEditable);
    EXPECT_TRUE(model_.flags(model_.EntryIndex(0, 0, IdentifierTableModel::kHexColumn)) & Qt::ItemIsEditable);
}

TEST_F(IdentifierTableTest, EditingOneColumnStoresAtOnceAndTheOtherFollows)
{
    QSignalSpy edited(&model_, &IdentifierTableModel::entryEdited);
    const QModelIndex hex = model_.EntryIndex(1, 0, IdentifierTableModel::kHexColumn);
    Click(hex);
    auto *editor = qobject_cast<QSpinBox *>(view_.indexWidget(hex));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("FDFF"));
    QTest::keyClicks(editor, "1a");
    EXPECT_EQ(values_.groups[1][0], 0x1A);
    EXPECT_EQ(Shown(1, 0, IdentifierTableModel::kDecColumn), QStringLiteral("26"));
    ASSERT_GE(edited.count(), 1);
    EXPECT_EQ(edited.last().at(0).toInt(), 1);
    EXPECT_EQ(edited.last().at(1).toInt(), 0);

    // Values beyond 16 bits are refused by the model.
    EXPECT_TRUE(model_.setData(model_.EntryIndex(0, 0, IdentifierTableModel::kDecColumn), 70000));
    EXPECT_EQ(values_.groups[0][0], 65535);
    EXPECT_FALSE(model_.setData(model_.index(0, IdentifierTableModel::kDecColumn), 1)); // a group row
}

TEST_F(IdentifierTableTest, ReloadFollowsEntriesThatComeAndGo)
{
    values_.groups[0].push_back(3);
    values_.groups[1].clear();
    model_.Reload();
    EXPECT_EQ(model_.rowCount(model_.index(0, 0)), 3);
    EXPECT_EQ(model_.rowCount(model_.index(1, 0)), 0);
    EXPECT_TRUE(view_.isExpanded(model_.index(0, 0)));
    EXPECT_EQ(Shown(0, 2, IdentifierTableModel::kDecColumn), QStringLiteral("3"));
}

} // namespace
