#include "app/widgets/CellDelegates.h"

#include "app/widgets/HexSpinBox.h"
#include "app/widgets/Ipv4Edit.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace vantor::widgets {

namespace {

bool IsText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

bool IsNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float: return true;
    default: return false;
    }
}

// The first fill of an editor selects its text, so that typing replaces it; later
// fills (the model changed while editing) leave the cursor alone.
void SelectAllOnFirstFill(QAbstractSpinBox *editor)
{
    if (!editor->property("vantorFilled").toBool()) {
        editor->setProperty("vantorFilled", true);
        editor->selectAll();
    }
}

// Stores a number in the form the model held it: a text stays a text.
void StoreNumber(QAbstractItemModel *model, const QModelIndex &index, qint64 number)
{
    const QVariant old = index.data(Qt::EditRole);
    model->setData(index, IsText(old) ? QVariant(QString::number(number)) : QVariant(number), Qt::EditRole);
}

} // namespace

// ---- text ----

TextCellDelegate::TextCellDelegate(QObject *parent) : CellDelegate(parent)
{}

QWidget *TextCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (maxLength_ > 0)
        edit->setMaxLength(maxLength_);
    if (!pattern_.pattern().isEmpty())
        edit->setValidator(new QRegularExpressionValidator(pattern_, edit));
    CommitOnChange(edit, &QLineEdit::textEdited);
    return edit;
}

void TextCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (edit->text() != text)
        edit->setText(text);
}

void TextCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    const QString text = static_cast<QLineEdit *>(editor)->text();
    model->setData(index, trimmed_ ? text.trimmed() : text, Qt::EditRole);
}

// ---- integer ----

IntegerCellDelegate::IntegerCellDelegate(int minimum, int maximum, QObject *parent)
    : CellDelegate(parent), minimum_(minimum), maximum_(maximum)
{}

QString IntegerCellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return IsNumber(value) ? QString::number(value.toLongLong()) + suffix_ : value.toString();
}

QWidget *IntegerCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                           const QModelIndex &) const
{
    auto *spin = new QSpinBox(parent);
    spin->setFrame(false);
    spin->setRange(minimum_, maximum_);
    spin->setSuffix(suffix_);
    spin->setAccelerated(true);
    CommitOnChange(spin, &QSpinBox::valueChanged);
    return spin;
}

void IntegerCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *spin = static_cast<QSpinBox *>(editor);
    bool ok = false;
    const qint64 number = index.data(Qt::EditRole).toLongLong(&ok);
    const int value = static_cast<int>(std::clamp<qint64>(ok ? number : 0, minimum_, maximum_));
    if (spin->value() != value)
        spin->setValue(value);
    SelectAllOnFirstFill(spin);
}

void IntegerCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                       const QModelIndex &index) const
{
    auto *spin = static_cast<QSpinBox *>(editor);
    if (spin->cleanText().trimmed().isEmpty()) {
        StoreNumber(model, index, std::clamp(blankValue_.value_or(minimum_), minimum_, maximum_));
        return;
    }
    spin->interpretText();
    StoreNumber(model, index, spin->value());
}

// ---- number with decimals ----

NumberCellDelegate::NumberCellDelegate(double minimum, double maximum, int decimals, QObject *parent)
    : CellDelegate(parent), minimum_(minimum), maximum_(maximum), decimals_(decimals)
{}

QString NumberCellDelegate::Format(double value, int decimals, const QLocale &locale)
{
    QString text = locale.toString(value, 'f', decimals);
    const QString point = locale.decimalPoint();
    if (decimals > 0 && text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString NumberCellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return IsNumber(value) ? Format(value.toDouble(), decimals_, QLocale()) : value.toString();
}

QWidget *NumberCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                          const QModelIndex &) const
{
    auto *spin = new QDoubleSpinBox(parent);
    spin->setFrame(false);
    spin->setDecimals(decimals_);
    spin->setRange(minimum_, maximum_);
    spin->setSingleStep(step_);
    CommitOnChange(spin, &QDoubleSpinBox::valueChanged);
    return spin;
}

void NumberCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *spin = static_cast<QDoubleSpinBox *>(editor);
    const double value = std::clamp(index.data(Qt::EditRole).toDouble(), minimum_, maximum_);
    if (spin->value() != value)
        spin->setValue(value);
    SelectAllOnFirstFill(spin);
}

void NumberCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                      const QModelIndex &index) const
{
    auto *spin = static_cast<QDoubleSpinBox *>(editor);
    double value = std::clamp(0.0, minimum_, maximum_);
    if (!spin->cleanText().trimmed().isEmpty()) {
        spin->interpretText();
        value = spin->value();
    }
    const QVariant old = index.data(Qt::EditRole);
    model->setData(index, IsText(old) ? QVariant(Format(value, decimals_, QLocale())) : QVariant(value),
                   Qt::EditRole);
}

// ---- hexadecimal ----

HexCellDelegate::HexCellDelegate(int minimum, int maximum, int minimumDigits, QObject *parent)
    : CellDelegate(parent), minimum_(minimum), maximum_(maximum), minimumDigits_(minimumDigits)
{}

QString HexCellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return IsNumber(value) ? HexSpinBox::FormatHex(value.toLongLong(), minimumDigits_) : value.toString();
}

QWidget *HexCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                       const QModelIndex &) const
{
    auto *spin = new HexSpinBox(parent);
    spin->setFrame(false);
    spin->setRange(minimum_, maximum_);
    spin->setMinimumDigits(minimumDigits_);
    CommitOnChange(static_cast<QSpinBox *>(spin), &QSpinBox::valueChanged);
    return spin;
}

void HexCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *spin = static_cast<HexSpinBox *>(editor);
    const QVariant data = index.data(Qt::EditRole);
    bool ok = false;
    // A text cell holds the number as it is shown: in hexadecimal.
    const qint64 number = IsText(data) ? data.toString().toLongLong(&ok, 16) : data.toLongLong(&ok);
    const int value = static_cast<int>(std::clamp<qint64>(ok ? number : 0, minimum_, maximum_));
    if (spin->value() != value)
        spin->setValue(value);
    SelectAllOnFirstFill(spin);
}

void HexCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *spin = static_cast<HexSpinBox *>(editor);
    int value = std::clamp(0, minimum_, maximum_);
    if (!spin->cleanText().trimmed().isEmpty()) {
        spin->interpretText();
        value = spin->value();
    }
    const QVariant old = index.data(Qt::EditRole);
    model->setData(index,
                   IsText(old) ? QVariant(HexSpinBox::FormatHex(value, minimumDigits_)) : QVariant(value),
                   Qt::EditRole);
}

// ---- time of day ----

TimeCellDelegate::TimeCellDelegate(QObject *parent) : CellDelegate(parent)
{}

namespace {

QTime TimeOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QTime)
        return value.toTime();
    const int minutes = std::clamp(value.toInt(), 0, 24 * 60 - 1);
    return QTime(minutes / 60, minutes % 60);
}

} // namespace

QString TimeCellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return value.typeId() == QMetaType::QTime || IsNumber(value)
               ? TimeOf(value).toString(QStringLiteral("HH:mm"))
               : value.toString();
}

QWidget *TimeCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &) const
{
    auto *edit = new QTimeEdit(parent);
    edit->setFrame(false);
    edit->setDisplayFormat(QStringLiteral("HH:mm"));
    CommitOnChange(static_cast<QDateTimeEdit *>(edit), &QDateTimeEdit::timeChanged);
    return edit;
}

void TimeCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *edit = static_cast<QTimeEdit *>(editor);
    const QTime time = TimeOf(index.data(Qt::EditRole));
    if (edit->time() != time)
        edit->setTime(time);
}

void TimeCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    auto *edit = static_cast<QTimeEdit *>(editor);
    edit->interpretText();
    const QTime time = edit->time();
    if (index.data(Qt::EditRole).typeId() == QMetaType::QTime)
        model->setData(index, time, Qt::EditRole);
    else
        model->setData(index, time.hour() * 60 + time.minute(), Qt::EditRole);
}

// ---- day and month ----

DateCellDelegate::DateCellDelegate(QObject *parent) : CellDelegate(parent)
{}

QString DateCellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return value.typeId() == QMetaType::QDate ? value.toDate().toString(QStringLiteral("dd.MM"))
                                              : value.toString();
}

QWidget *DateCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &) const
{
    auto *edit = new QDateEdit(parent);
    edit->setFrame(false);
    edit->setDisplayFormat(QStringLiteral("dd.MM"));
    // A leap year, so that 29.02 can be chosen.
    edit->setDateRange(QDate(2000, 1, 1), QDate(2000, 12, 31));
    CommitOnChange(static_cast<QDateTimeEdit *>(edit), &QDateTimeEdit::dateChanged);
    return edit;
}

void DateCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *edit = static_cast<QDateEdit *>(editor);
    const QDate date = index.data(Qt::EditRole).toDate();
    const QDate shown = date.isValid() ? QDate(2000, date.month(), date.day()) : QDate(2000, 1, 1);
    if (edit->date() != shown)
        edit->setDate(shown);
}

void DateCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    auto *edit = static_cast<QDateEdit *>(editor);
    edit->interpretText();
    const QDate chosen = edit->date();
    const QDate old = index.data(Qt::EditRole).toDate();
    const int year =
        old.isValid() && QDate::isValid(old.year(), chosen.month(), chosen.day()) ? old.year() : 2000;
    model->setData(index, QDate(year, chosen.month(), chosen.day()), Qt::EditRole);
}

// ---- drop-down list ----

namespace {

// A combo box that says when its list closes.
class PopupComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onPopupHidden;

    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (onPopupHidden)
            onPopupHidden();
    }
};

} // namespace

ListCellDelegate::ListCellDelegate(QObject *parent) : CellDelegate(parent)
{}

void ListCellDelegate::setChoices(const QList<CellChoice> &choices)
{
    provider_ = [choices](const QModelIndex &) { return choices; };
}

void ListCellDelegate::setChoices(const QStringList &texts)
{
    QList<CellChoice> choices;
    for (int i = 0; i < texts.size(); ++i)
        choices.append({texts[i], i});
    setChoices(choices);
}

QList<CellChoice> ListCellDelegate::Choices(const QModelIndex &index) const
{
    return provider_ ? provider_(index) : QList<CellChoice>{};
}

QString ListCellDelegate::FormatValue(const QVariant &value, const QModelIndex &index) const
{
    for (const CellChoice &choice : Choices(index))
        if (choice.value == value)
            return choice.text;
    return IsNumber(value) ? QString() : value.toString();
}

QWidget *ListCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const
{
    auto *combo = new PopupComboBox(parent);
    combo->setFrame(false);
    for (const CellChoice &choice : Choices(index))
        combo->addItem(choice.text, choice.value);
    auto *self = const_cast<ListCellDelegate *>(this);
    QPointer<PopupComboBox> guarded(combo);
    connect(combo, &QComboBox::activated, this, [self, guarded] { self->CommitAndClose(guarded); });
    // A choice arrives right after the list hides; a list closed without a choice
    // ends editing once that has had its chance.
    combo->onPopupHidden = [self, guarded] {
        QTimer::singleShot(0, self, [self, guarded] { self->CommitAndClose(guarded); });
    };
    QTimer::singleShot(0, combo, [guarded] {
        if (guarded && guarded->isVisible())
            guarded->showPopup();
    });
    return combo;
}

void ListCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *combo = static_cast<QComboBox *>(editor);
    const int position = combo->findData(index.data(Qt::EditRole));
    if (position >= 0 && combo->currentIndex() != position)
        combo->setCurrentIndex(position);
}

void ListCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    if (combo->currentIndex() >= 0)
        model->setData(index, combo->currentData(), Qt::EditRole);
}

// ---- IPv4 address ----

Ipv4CellDelegate::Ipv4CellDelegate(QObject *parent) : CellDelegate(parent)
{}

QString Ipv4CellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return IsNumber(value)
               ? Ipv4Edit::FormatAddress(Ipv4Edit::FromValue(static_cast<std::uint32_t>(value.toLongLong())))
               : value.toString();
}

QWidget *Ipv4CellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &) const
{
    auto *edit = new Ipv4Edit(parent);
    edit->setFrame(false);
    CommitOnChange(static_cast<QLineEdit *>(edit), &QLineEdit::textEdited);
    return edit;
}

void Ipv4CellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    LoadingGuard guard(*this);
    auto *edit = static_cast<Ipv4Edit *>(editor);
    const QVariant value = index.data(Qt::EditRole);
    if (IsNumber(value))
        edit->setAddressValue(static_cast<std::uint32_t>(value.toLongLong()));
    else if (const auto address = Ipv4Edit::ParseAddress(value.toString()))
        edit->setAddress(*address);
}

void Ipv4CellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    const auto address = Ipv4Edit::ParseAddress(static_cast<Ipv4Edit *>(editor)->text());
    if (!address)
        return; // incomplete: the cell keeps its address
    if (IsNumber(index.data(Qt::EditRole)))
        model->setData(index, static_cast<qlonglong>(Ipv4Edit::ToValue(*address)), Qt::EditRole);
    else
        model->setData(index, Ipv4Edit::FormatAddress(*address), Qt::EditRole);
}

// ---- check box ----

CheckCellDelegate::CheckCellDelegate(QObject *parent) : CellDelegate(parent)
{}

namespace {

QRect CheckRect(const QStyleOptionViewItem &option)
{
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    QStyleOptionButton button;
    const QRect indicator = style->subElementRect(QStyle::SE_CheckBoxIndicator, &button, option.widget);
    QRect rect(QPoint(0, 0), indicator.size());
    rect.moveCenter(option.rect.center());
    return rect;
}

} // namespace

void CheckCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.features &= ~QStyleOptionViewItem::HasDisplay;
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    QStyleOptionButton box;
    box.rect = CheckRect(option);
    box.state = option.state & (QStyle::State_Enabled | QStyle::State_MouseOver);
    box.state |= index.data(Qt::EditRole).toBool() ? QStyle::State_On : QStyle::State_Off;
    if (!(index.flags() & Qt::ItemIsEditable))
        box.state &= ~QStyle::State_Enabled;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
}

QSize CheckCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QRect rect = CheckRect(option);
    return rect.size() + QSize(8, 4);
}

QWidget *CheckCellDelegate::createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const
{
    return nullptr;
}

bool CheckCellDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!(index.flags() & Qt::ItemIsEditable) || !(index.flags() & Qt::ItemIsEnabled))
        return false;
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        toggle = mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: return true; // the release toggles
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
        break;
    }
    default: break;
    }
    if (!toggle)
        return false;
    return model->setData(index, !index.data(Qt::EditRole).toBool(), Qt::EditRole);
}

} // namespace vantor::widgets
