#pragma once
// Points HOME and the XDG folders at a fresh temporary folder while it lives, so a
// test never reads or writes the real user's files. Restores the variables after.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <optional>

namespace vantor::test {

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome &) = delete;
    TempHome &operator=(const TempHome &) = delete;

    QString path() const { return dir_.path(); }
    QString dataHome() const;   // $XDG_DATA_HOME
    QString configHome() const; // $XDG_CONFIG_HOME
    QString sharedData() const; // the first folder of $XDG_DATA_DIRS

private:
    QTemporaryDir dir_;
    std::map<QByteArray, std::optional<QByteArray>> saved_;
};

} // namespace vantor::test
