#include "app/FileIo.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

std::optional<std::string> ReadWholeFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Не удалось открыть файл «%1»: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Не удалось прочитать файл «%1»: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes.toStdString();
}

bool WriteFileAtomically(const QString &path, std::string_view bytes, QString *error)
{
    // Written by hand rather than with QSaveFile: a short write (a full disk, a file
    // size limit) must fail the save, and QSaveFile was seen to commit a truncated file.
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    int fd = -1;
    auto fail = [&](int code) {
        if (error)
            *error = QStringLiteral("Не удалось сохранить файл «%1»: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(code)));
        if (fd >= 0)
            ::close(fd);
        if (fd != -2)
            ::unlink(temp.constData());
        return false;
    };

    fd = ::mkstemp(temp.data());
    if (fd < 0) {
        fd = -2; // nothing to remove
        return fail(errno);
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    if (::rename(temp.constData(), target.constData()) != 0)
        return fail(errno);
    return true;
}

} // namespace vantor
