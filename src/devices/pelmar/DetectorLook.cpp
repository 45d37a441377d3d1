#include "devices/pelmar/DetectorLook.h"

namespace vantor {

QIcon AnchorIcon()
{
    return QIcon(QStringLiteral(":/pelmar/anchor.svg"));
}

} // namespace vantor
