#include "TestPaths.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace vantor::test {

QString SourceDir()
{
    return QStringLiteral(VANTOR_SOURCE_DIR);
}
QString BinaryDir()
{
    return QStringLiteral(VANTOR_BINARY_DIR);
}
QString BinDir()
{
    return QStringLiteral(VANTOR_BIN_DIR);
}

std::optional<QString> SharedTestData()
{
    QString dir = qEnvironmentVariable("VANTOR_TESTDATA");
    if (dir.isEmpty())
        dir = QDir(SourceDir()).absoluteFilePath(QStringLiteral("../shared/testdata"));
    if (!QDir(dir).exists())
        return std::nullopt;
    return QDir::cleanPath(dir);
}

std::string ReadFileOrFail(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll().toStdString();
}

} // namespace vantor::test
