#include "app/widgets/Ipv4Edit.h"

#include <QValidator>

namespace vantor::widgets {

namespace {

class Ipv4Validator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        const QStringList parts = input.split(QLatin1Char('.'));
        if (parts.size() > 4)
            return Invalid;
        bool complete = parts.size() == 4;
        for (const QString &part : parts) {
            if (part.isEmpty()) {
                complete = false;
                continue;
            }
            if (part.size() > 3)
                return Invalid;
            for (const QChar c : part)
                if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                    return Invalid;
            if (part.toInt() > 255)
                return Invalid;
        }
        return complete ? Acceptable : Intermediate;
    }
};

} // namespace

Ipv4Edit::Ipv4Edit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new Ipv4Validator(this));
    setText(FormatAddress(address_));
    connect(this, &QLineEdit::editingFinished, this, &Ipv4Edit::TakeText);
}

void Ipv4Edit::setAddress(const Octets &address)
{
    address_ = address;
    setText(FormatAddress(address));
}

std::optional<Ipv4Edit::Octets> Ipv4Edit::ParseAddress(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    Octets address{};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        const int number = part.toInt();
        if (number > 255)
            return std::nullopt;
        address[i] = static_cast<std::uint8_t>(number);
    }
    return address;
}

QString Ipv4Edit::FormatAddress(const Octets &address)
{
    return QStringLiteral("%1.%2.%3.%4").arg(address[0]).arg(address[1]).arg(address[2]).arg(address[3]);
}

std::uint32_t Ipv4Edit::ToValue(const Octets &address)
{
    return std::uint32_t(address[0]) << 24 | std::uint32_t(address[1]) << 16 |
           std::uint32_t(address[2]) << 8 | address[3];
}

Ipv4Edit::Octets Ipv4Edit::FromValue(std::uint32_t value)
{
    return {std::uint8_t(value >> 24), std::uint8_t(value >> 16), std::uint8_t(value >> 8),
            std::uint8_t(value)};
}

void Ipv4Edit::TakeText()
{
    if (const auto parsed = ParseAddress(text())) {
        address_ = *parsed;
        setText(FormatAddress(address_)); // "010.1.1.1" becomes "10.1.1.1"
        emit addressEdited();
    }
}

void Ipv4Edit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event); // a complete text is taken through editingFinished
    if (!hasAcceptableInput())
        setText(FormatAddress(address_));
}

} // namespace vantor::widgets
