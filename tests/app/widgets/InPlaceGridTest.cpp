// The editing grids: a click opens the cell's editor, closing it stores the value.
#include "app/widgets/CellDelegates.h"
#include "app/widgets/InPlaceViews.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantor::widgets;

namespace {

// Types text of any alphabet (QTest::keyClicks takes ASCII only).
void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

enum Column { kText, kInteger, kNumber, kHex, kTime, kDate, kList, kAddress, kCheck, kReadOnly, kColumns };

// One row of cells, one column per kind of editor.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        model_.setColumnCount(kColumns);
        model_.setRowCount(2);
        for (int row = 0; row < 2; ++row) {
            Set(row, kText, QStringLiteral("Север"));
            Set(row, kInteger, 15);
            Set(row, kNumber, 2.5);
            Set(row, kHex, 255);
            Set(row, kTime, 90); // minutes after midnight
            Set(row, kDate, QDate(2023, 3, 8));
            Set(row, kList, 1);
            Set(row, kAddress, QStringLiteral("192.168.0.1"));
            Set(row, kCheck, false);
            Set(row, kReadOnly, QStringLiteral("только чтение"));
            model_.item(row, kReadOnly)->setEditable(false);
        }
        view_.setModel(&model_);
        view_.setItemDelegateForColumn(kText, text_ = new TextCellDelegate(&view_));
        view_.setItemDelegateForColumn(kInteger, integer_ = new IntegerCellDelegate(0, 65535, &view_));
        view_.setItemDelegateForColumn(kNumber, new NumberCellDelegate(0, 100, 2, &view_));
        view_.setItemDelegateForColumn(kHex, new HexCellDelegate(0, 65535, 2, &view_));
        view_.setItemDelegateForColumn(kTime, new TimeCellDelegate(&view_));
        view_.setItemDelegateForColumn(kDate, new DateCellDelegate(&view_));
        auto *list = new ListCellDelegate(&view_);
        list->setChoices(QStringList{QStringLiteral("Транспортный"), QStringLiteral("Реверсивный"),
                                     QStringLiteral("Пешеходный")});
        view_.setItemDelegateForColumn(kList, list);
        view_.setItemDelegateForColumn(kAddress, new Ipv4CellDelegate(&view_));
        view_.setItemDelegateForColumn(kCheck, new CheckCellDelegate(&view_));
        view_.resize(1200, 200);
        view_.show();
        QApplication::setActiveWindow(&view_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view_));
    }

    void Set(int row, int column, const QVariant &value)
    {
        auto *item = new QStandardItem;
        item->setData(value, Qt::EditRole);
        model_.setItem(row, column, item);
    }
    QVariant Value(int row, int column) const { return model_.index(row, column).data(Qt::EditRole); }

    // What the cell shows.
    QString Shown(int row, int column)
    {
        QStyleOptionViewItem option;
        option.initFrom(&view_);
        const QModelIndex index = model_.index(row, column);
        auto *delegate = static_cast<CellDelegate *>(view_.itemDelegateForIndex(index));
        const QVariant value = index.data(Qt::DisplayRole);
        return value.typeId() == QMetaType::QString ? value.toString() : delegate->FormatValue(value, index);
    }

    void Click(int row, int column)
    {
        const QRect rect = view_.visualRect(model_.index(row, column));
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, rect.center());
        QApplication::processEvents();
    }
    QWidget *Editor(int row, int column) const { return view_.indexWidget(model_.index(row, column)); }
    // Editors live on the viewport until they close.
    int OpenEditors() const
    {
        int count = 0;
        for (const QWidget *child : view_.viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            count += child->isVisible();
        return count;
    }

    // Enter's commit is queued by the delegate.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    QStandardItemModel model_;
    InPlaceTableView view_;
    TextCellDelegate *text_ = nullptr;
    IntegerCellDelegate *integer_ = nullptr;
};

TEST_F(GridTest, AClickOpensTheCellsEditorAndEnterStoresItsValue)
{
    const struct {
        Column column;
        const char *editorClass;
        std::function<void(QWidget *)> type;
        QVariant stored;
        const char *shown;
    } cases[] = {
        {kText, "QLineEdit",
         [](QWidget *e) {
             QTest::keyClick(e, Qt::Key_End); // the text starts selected
             TypeText(e, QStringLiteral(" Юг"));
         },
         QStringLiteral("Север Юг"), "Север Юг"},
        {kInteger, "QSpinBox", [](QWidget *e) { QTest::keyClicks(e, "4a2"); }, 42, "42"},
        {kNumber, "QDoubleSpinBox", [](QWidget *e) { static_cast<QDoubleSpinBox *>(e)->setValue(12.25); },
         12.25, nullptr},
        {kHex, "vantor::widgets::HexSpinBox", [](QWidget *e) { QTest::keyClicks(e, "1f"); }, 31, "1F"},
        {kTime, "QTimeEdit", [](QWidget *e) { static_cast<QTimeEdit *>(e)->setTime(QTime(7, 5)); },
         7 * 60 + 5, "07:05"},
        {kDate, "QDateEdit", [](QWidget *e) { static_cast<QDateEdit *>(e)->setDate(QDate(2000, 12, 31)); },
         QDate(2023, 12, 31), "31.12"},
        {kAddress, "vantor::widgets::Ipv4Edit",
         [](QWidget *e) {
             static_cast<QLineEdit *>(e)->selectAll();
             QTest::keyClicks(e, "10.0.300.7"); // the 0 of 300 cannot be typed
         },
         QStringLiteral("10.0.30.7"), "10.0.30.7"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.editorClass);
        Click(0, c.column);
        QWidget *editor = Editor(0, c.column);
        ASSERT_NE(editor, nullptr);
        EXPECT_STREQ(editor->metaObject()->className(), c.editorClass);
        EXPECT_EQ(editor->geometry().topLeft(), view_.visualRect(model_.index(0, c.column)).topLeft());
        c.type(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        Settle();
        EXPECT_EQ(Editor(0, c.column), nullptr);
        EXPECT_EQ(Value(0, c.column), c.stored);
        if (c.shown) {
            EXPECT_EQ(Shown(0, c.column), QString::fromUtf8(c.shown));
        }
        // The other row is untouched.
        EXPECT_NE(Value(1, c.column), c.stored);
    }
    EXPECT_EQ(Shown(0, kNumber), QLocale().toString(12.25, 'f', 2));
}

TEST_F(GridTest, EscapeAndClickingAnotherCellAlsoStoreTheValue)
{
    Click(0, kInteger);
    QTest::keyClicks(Editor(0, kInteger), "77");
    QTest::keyClick(Editor(0, kInteger), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Editor(0, kInteger), nullptr);
    EXPECT_EQ(Value(0, kInteger), 77);

    Click(0, kText);
    QLineEdit *edit = qobject_cast<QLineEdit *>(Editor(0, kText));
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    TypeText(edit, QStringLiteral("Запад"));
    Click(1, kInteger); // the text editor closes, the integer editor opens
    Settle();
    EXPECT_EQ(Value(0, kText), QStringLiteral("Запад"));
    EXPECT_EQ(Editor(0, kText), nullptr);
    EXPECT_NE(Editor(1, kInteger), nullptr);
}

TEST_F(GridTest, CommitEveryChangeStoresWhileTheEditorIsOpen)
{
    integer_->setCommitEveryChange(true);
    Click(0, kInteger);
    QWidget *editor = Editor(0, kInteger);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "3");
    EXPECT_EQ(Value(0, kInteger), 3);
    QTest::keyClicks(editor, "9");
    EXPECT_EQ(Value(0, kInteger), 39);
    EXPECT_EQ(Editor(0, kInteger), editor); // still editing
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(Value(0, kInteger), 40);
}

TEST_F(GridTest, IntegersStayInTheirRangeAndABlankCellStoresTheBlankValue)
{
    Click(0, kInteger);
    QTest::keyClicks(Editor(0, kInteger), "700001"); // the fifth digit would leave 0..65535
    QTest::keyClick(Editor(0, kInteger), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Value(0, kInteger), 7000);

    Click(0, kInteger);
    QTest::keyClick(Editor(0, kInteger), Qt::Key_Backspace); // all was selected: now blank
    QTest::keyClick(Editor(0, kInteger), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Value(0, kInteger), 0);

    integer_->setBlankValue(8);
    Click(1, kInteger);
    QTest::keyClick(Editor(1, kInteger), Qt::Key_Delete);
    QTest::keyClick(Editor(1, kInteger), Qt::Key_Tab);
    Settle();
    EXPECT_EQ(Value(1, kInteger), 8);
}

TEST_F(GridTest, AValueStoredAsTextStaysText)
{
    Set(0, kInteger, QStringLiteral("15"));
    Set(0, kHex, QStringLiteral("0A"));
    Click(0, kInteger);
    QTest::keyClick(Editor(0, kInteger), Qt::Key_Up);
    QTest::keyClick(Editor(0, kInteger), Qt::Key_Return);
    Click(0, kHex);
    QTest::keyClick(Editor(0, kHex), Qt::Key_Up);
    QTest::keyClick(Editor(0, kHex), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Value(0, kInteger), QVariant(QStringLiteral("16")));
    EXPECT_EQ(Value(0, kHex), QVariant(QStringLiteral("0B")));
}

TEST_F(GridTest, CellsWithoutTheEditableFlagOpenNothing)
{
    Click(0, kReadOnly);
    EXPECT_EQ(Editor(0, kReadOnly), nullptr);
    EXPECT_EQ(OpenEditors(), 0);
    // Typing on it does not open one either.
    QTest::keyClicks(view_.viewport(), "x");
    EXPECT_EQ(Editor(0, kReadOnly), nullptr);
    EXPECT_EQ(Value(0, kReadOnly), QStringLiteral("только чтение"));
}

TEST_F(GridTest, TheListOpensAtOnceAndStoresTheChosenValue)
{
    EXPECT_EQ(Shown(0, kList), QStringLiteral("Реверсивный"));
    Click(0, kList);
    auto *combo = qobject_cast<QComboBox *>(Editor(0, kList));
    ASSERT_NE(combo, nullptr);
    QTRY_VERIFY(combo->view()->isVisible());
    EXPECT_EQ(combo->currentIndex(), 1);
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Value(0, kList), 2);
    EXPECT_EQ(Shown(0, kList), QStringLiteral("Пешеходный"));
    EXPECT_EQ(Editor(0, kList), nullptr);

    // Escape on the list closes the editor and keeps the value.
    Click(0, kList);
    combo = qobject_cast<QComboBox *>(Editor(0, kList));
    ASSERT_NE(combo, nullptr);
    QTRY_VERIFY(combo->view()->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Up);
    QTest::keyClick(combo->view(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Editor(0, kList), nullptr);
    EXPECT_EQ(Value(0, kList), 2);
}

TEST_F(GridTest, CheckCellsToggleOnAClickAndOnSpace)
{
    Click(0, kCheck);
    EXPECT_EQ(Value(0, kCheck), true);
    EXPECT_EQ(Editor(0, kCheck), nullptr);
    EXPECT_EQ(Value(1, kCheck), false);
    Click(0, kCheck);
    EXPECT_EQ(Value(0, kCheck), false);

    view_.setCurrentIndex(model_.index(1, kCheck));
    QTest::keyClick(view_.viewport(), Qt::Key_Space);
    EXPECT_EQ(Value(1, kCheck), true);

    model_.item(1, kCheck)->setEditable(false);
    Click(1, kCheck);
    EXPECT_EQ(Value(1, kCheck), true);
}

TEST(CellFormats, CellsShowTheirValuesInTheirOwnNotation)
{
    const QModelIndex none;
    HexCellDelegate hex2(0, 65535, 2), hex1(0, 65535, 1);
    EXPECT_EQ(hex2.FormatValue(255, none), QStringLiteral("FF"));
    EXPECT_EQ(hex2.FormatValue(5, none), QStringLiteral("05"));
    EXPECT_EQ(hex1.FormatValue(5, none), QStringLiteral("5"));
    EXPECT_EQ(hex1.FormatValue(65535, none), QStringLiteral("FFFF"));

    const QLocale c(QLocale::C), ru(QLocale::Russian);
    EXPECT_EQ(NumberCellDelegate::Format(2.5, 2, c), QStringLiteral("2.5"));
    EXPECT_EQ(NumberCellDelegate::Format(3.0, 2, c), QStringLiteral("3"));
    EXPECT_EQ(NumberCellDelegate::Format(0.125, 2, c), QStringLiteral("0.13"));
    EXPECT_EQ(NumberCellDelegate::Format(-0.001, 2, c), QStringLiteral("0"));
    EXPECT_EQ(NumberCellDelegate::Format(1.75, 2, ru), QStringLiteral("1,75"));

    TimeCellDelegate time;
    EXPECT_EQ(time.FormatValue(0, none), QStringLiteral("00:00"));
    EXPECT_EQ(time.FormatValue(1439, none), QStringLiteral("23:59"));
    EXPECT_EQ(time.FormatValue(QTime(9, 30), none), QStringLiteral("09:30"));

    DateCellDelegate date;
    EXPECT_EQ(date.FormatValue(QDate(2024, 2, 29), none), QStringLiteral("29.02"));

    Ipv4CellDelegate address;
    EXPECT_EQ(address.FormatValue(static_cast<qlonglong>(0xC0A80001u), none), QStringLiteral("192.168.0.1"));

    IntegerCellDelegate percent(0, 100);
    percent.setSuffix(QStringLiteral(" %"));
    EXPECT_EQ(percent.FormatValue(30, none), QStringLiteral("30 %"));

    ListCellDelegate list;
    list.setChoices(QList<CellChoice>{{QStringLiteral("Выкл"), -1}, {QStringLiteral("Вкл"), -3}});
    EXPECT_EQ(list.FormatValue(-3, none), QStringLiteral("Вкл"));
    EXPECT_EQ(list.FormatValue(7, none), QString());
}

TEST(CellFormats, AListMayDependOnTheCell)
{
    QStandardItemModel model(2, 1);
    ListCellDelegate list;
    list.setChoiceProvider([](const QModelIndex &index) {
        return QList<CellChoice>{{QStringLiteral("Строка %1").arg(index.row() + 1), 0}};
    });
    EXPECT_EQ(list.FormatValue(0, model.index(0, 0)), QStringLiteral("Строка 1"));
    EXPECT_EQ(list.FormatValue(0, model.index(1, 0)), QStringLiteral("Строка 2"));
}

} // namespace
