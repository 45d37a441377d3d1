#include "app/widgets/HexSpinBox.h"

namespace vantor::widgets {

HexSpinBox::HexSpinBox(QWidget *parent) : QSpinBox(parent)
{
    setDisplayIntegerBase(16);
}

void HexSpinBox::setMinimumDigits(int digits)
{
    minimumDigits_ = std::max(1, digits);
    // Changing the base re-renders the text without emitting valueChanged.
    setDisplayIntegerBase(10);
    setDisplayIntegerBase(16);
}

QString HexSpinBox::FormatHex(qint64 value, int minimumDigits)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -value : value, 16).toUpper();
    if (digits.size() < minimumDigits)
        digits = digits.rightJustified(minimumDigits, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + digits : digits;
}

QString HexSpinBox::textFromValue(int value) const
{
    // No padding while the user types: the spin box re-renders the text after each
    // key, and zeros put in front would land before the cursor.
    return FormatHex(value, hasFocus() ? 1 : minimumDigits_);
}

int HexSpinBox::valueFromText(const QString &text) const
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok, 16);
    return ok ? number : value();
}

QValidator::State HexSpinBox::validate(QString &input, int &) const
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return QValidator::Intermediate;
    for (const QChar c : text)
        if (!c.isDigit() && !(c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F')))
            return QValidator::Invalid;
    bool ok = false;
    const qint64 number = text.toLongLong(&ok, 16);
    if (!ok || number > maximum())
        return QValidator::Invalid;
    return number < minimum() ? QValidator::Intermediate : QValidator::Acceptable;
}

} // namespace vantor::widgets
