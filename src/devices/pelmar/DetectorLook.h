#pragma once
// How the detector editor draws its lists: "[нет]" in grey for what is missing, unique
// numbers in dark blue, duplicate ones in red, the anchor on directions in use.

#include <QColor>
#include <QIcon>
#include <QString>

namespace vantor {

inline QString NoneText()
{
    return QStringLiteral("[нет]");
}
inline QColor NoneColor()
{
    return QColor(Qt::gray);
}
inline QColor NumberColor(bool unique)
{
    return unique ? QColor(Qt::darkBlue) : QColor(Qt::red);
}
QIcon AnchorIcon();

} // namespace vantor
