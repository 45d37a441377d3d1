#include "TempHome.h"

#include <QDir>

namespace vantor::test {

namespace {

const char *const kVariables[] = {"HOME",          "XDG_DATA_HOME",  "XDG_CONFIG_HOME",
                                  "XDG_DATA_DIRS", "XDG_CACHE_HOME", "XDG_STATE_HOME"};

} // namespace

TempHome::TempHome()
{
    for (const char *name : kVariables)
        saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    const QString root = dir_.path();
    QDir(root).mkpath(QStringLiteral(".local/share"));
    QDir(root).mkpath(QStringLiteral(".config"));
    QDir(root).mkpath(QStringLiteral("shared"));
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_DATA_DIRS", sharedData().toUtf8());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/.cache")).toUtf8());
    qputenv("XDG_STATE_HOME", (root + QStringLiteral("/.local/state")).toUtf8());
}

TempHome::~TempHome()
{
    for (const auto &[name, value] : saved_) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}

QString TempHome::dataHome() const
{
    return dir_.path() + QStringLiteral("/.local/share");
}

QString TempHome::configHome() const
{
    return dir_.path() + QStringLiteral("/.config");
}

QString TempHome::sharedData() const
{
    return dir_.path() + QStringLiteral("/shared");
}

} // namespace vantor::test
