#include "app/ProgramInfo.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace vantor {

namespace {

// Four dot-separated numbers; CMake's project version may have fewer.
QString FourPartVersion(const QString &version)
{
    QStringList parts = version.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    while (parts.size() < 4)
        parts << QStringLiteral("0");
    return parts.mid(0, 4).join(QLatin1Char('.'));
}

} // namespace

const ProgramInfo &ThisProgram()
{
    static const ProgramInfo info = [] {
        ProgramInfo i;
        i.fileDescription = QStringLiteral("Конфигуратор дорожных контроллеров Vantor5");
        i.productName = QString::fromUtf8(kApplicationTitle);
        i.productVersion = FourPartVersion(QStringLiteral(VANTOR_VERSION));
        i.fileVersion = i.productVersion;
        i.legalCopyright = QStringLiteral("© Morvane Ltd. Все права защищены.");
        i.comments =
            QStringLiteral("Создание, правка и запись конфигураций светофорных контроллеров Vantor-5, "
                           "блоков Pelmar-3, видеорегистраторов Orsin-3, счётчиков Rudex, звуковых "
                           "информаторов Sollo-4 и светофорных модулей Navet.");
        return i;
    }();
    return info;
}

QString ProgramFileDate()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return {};
    const QDateTime modified = QFileInfo(path).lastModified();
    return modified.isValid() ? modified.toString(QStringLiteral("yyyyMMdd")) : QString();
}

QString VersionWithDate()
{
    const QString date = ProgramFileDate();
    QString text = ThisProgram().productVersion;
    if (!date.isEmpty())
        text += QStringLiteral(" (") + date + QLatin1Char(')');
    return text;
}

} // namespace vantor
