#include "devices/pelmar/PelmarWidgets.h"

#include "devices/pelmar/WebLogin.h"

#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>

namespace vantor {

void SetUpUnsignedSpin(QSpinBox &spin, int maximum, const QString &suffix)
{
    spin.setRange(0, maximum);
    spin.setSuffix(suffix);
    spin.setAlignment(Qt::AlignRight);
    spin.setMinimumWidth(110);
}

void SetTextKeepingAll(QLineEdit &edit, const std::string &text, int limit)
{
    const QString value = QString::fromStdString(text);
    edit.setMaxLength(std::max<int>(limit, static_cast<int>(value.size())));
    edit.setText(value);
    edit.setCursorPosition(0);
}

StorableTextValidator::StorableTextValidator(bool windows1251Only, const QString &forbidden, QObject *parent)
    : QValidator(parent), windows1251Only_(windows1251Only), forbidden_(forbidden)
{}

QValidator::State StorableTextValidator::validate(QString &input, int &) const
{
    if (std::any_of(input.begin(), input.end(), [this](QChar c) { return forbidden_.contains(c); }))
        return Invalid;
    if (windows1251Only_ && !IsWindows1251Text(input.toStdString()))
        return Invalid;
    return Acceptable;
}

} // namespace vantor
