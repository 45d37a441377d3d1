#pragma once
// The in-place cell editors of the editing grids. Set one per column with
// QAbstractItemView::setItemDelegateForColumn (or per row); the model's flags decide
// which cells can be edited. Every editor stores its value when it closes
// (CellDelegate.h); each stores a value of the kind it read: a number stays a
// number, a text stays a text.

#include "app/widgets/CellDelegate.h"

#include <QList>
#include <QRegularExpression>
#include <QVariant>

#include <functional>
#include <optional>

namespace vantor::widgets {

// Text. Optionally limited in length, trimmed when stored, or restricted to text
// matching a pattern while typing (for example digits only).
class TextCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    explicit TextCellDelegate(QObject *parent = nullptr);

    void setMaxLength(int length) { maxLength_ = length; } // 0: no limit
    void setTrimmed(bool on) { trimmed_ = on; }
    void setPattern(const QRegularExpression &pattern) { pattern_ = pattern; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    int maxLength_ = 0;
    bool trimmed_ = false;
    QRegularExpression pattern_;
};

// A whole number within a range, in a spin box (only digits can be typed when the
// range does not go below 0). An editor left blank stores the value given by
// setBlankValue (the range's minimum unless set; it is brought into the range).
class IntegerCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    IntegerCellDelegate(int minimum, int maximum, QObject *parent = nullptr);

    void setSuffix(const QString &suffix) { suffix_ = suffix; } // shown in the cell and the editor (" %")
    void setBlankValue(int value) { blankValue_ = value; }

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    int minimum_;
    int maximum_;
    std::optional<int> blankValue_;
    QString suffix_;
};

// A number with decimals, shown without trailing zeros ("0.##" for two decimals)
// in the locale's notation.
class NumberCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    NumberCellDelegate(double minimum, double maximum, int decimals, QObject *parent = nullptr);

    void setStep(double step) { step_ = step; }

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // The cell text of a number: at most `decimals` decimals, trailing zeros dropped.
    static QString Format(double value, int decimals, const QLocale &locale);

private:
    double minimum_;
    double maximum_;
    int decimals_;
    double step_ = 1;
};

// A whole number shown and typed in hexadecimal (upper-case, padded with zeros to
// minimumDigits).
class HexCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    HexCellDelegate(int minimum, int maximum, int minimumDigits = 1, QObject *parent = nullptr);

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    int minimum_;
    int maximum_;
    int minimumDigits_;
};

// A time of day "HH:mm". The value is a QTime or minutes after midnight (an integer).
class TimeCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    explicit TimeCellDelegate(QObject *parent = nullptr);

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// A day and month "dd.MM". The value is a QDate; its year is kept when the chosen
// day exists in it, otherwise the date is stored in the leap year 2000 (so 29.02
// can always be chosen).
class DateCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    explicit DateCellDelegate(QObject *parent = nullptr);

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// One item of a drop-down list: its text and the value stored when it is chosen.
struct CellChoice {
    QString text;
    QVariant value;
};

// A drop-down list. Its list opens as soon as the editor does; choosing an item
// stores its value and closes the editor, Escape closes it unchanged. The cell
// shows the text of the choice whose value the model holds.
class ListCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    using ChoiceProvider = std::function<QList<CellChoice>(const QModelIndex &index)>;

    explicit ListCellDelegate(QObject *parent = nullptr);

    // A fixed list; with texts only, the values are the positions 0, 1, ...
    void setChoices(const QList<CellChoice> &choices);
    void setChoices(const QStringList &texts);
    // A list that depends on the cell (asked each time the cell is shown or edited).
    void setChoiceProvider(ChoiceProvider provider) { provider_ = std::move(provider); }

    QList<CellChoice> Choices(const QModelIndex &index) const;

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    ChoiceProvider provider_;
};

// An IPv4 address (Ipv4Edit). The value is a text "a.b.c.d" or a number whose most
// significant byte is the first octet. An incomplete address is not stored.
class Ipv4CellDelegate : public CellDelegate {
    Q_OBJECT

public:
    explicit Ipv4CellDelegate(QObject *parent = nullptr);

    QString FormatValue(const QVariant &value, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// A check box drawn in the middle of the cell; a click on the cell or Space toggles
// it at once (there is no editor). The value is a bool.
class CheckCellDelegate : public CellDelegate {
    Q_OBJECT

public:
    explicit CheckCellDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
};

} // namespace vantor::widgets
