#include "common/core/SafeFile.h"

#include "common/core/Failure.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen::safefile {
namespace {

[[noreturn]] void fail(const QString &path, const QString &reason)
{
    throw Failure(QStringLiteral("Could not write file: ") + path + QStringLiteral(" (") + reason +
                  QStringLiteral(")"));
}

#ifdef Q_OS_UNIX
// Qt's file classes report a full disk or a size limit as "Unknown error";
// the system calls are used directly so that the reason is the system's own.

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

/** Writes all of `bytes` to `fd`; the errno of the failure, or 0. */
int writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        left -= n;
    }
    return 0;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
#endif

} // namespace

void replace(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    const QByteArray target = QFile::encodeName(path);
    const QFileInfo info(path);
    QByteArray temp =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        fail(path, systemReason(errno));
    struct stat old;
    const mode_t mode =
        ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!error)
        error = writeAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temp.constData(), target.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temp.constData());
        fail(path, systemReason(error));
    }
#else
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(path, reason);
    }
    if (!file.commit())
        fail(path, file.errorString());
#endif
}

void append(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    const QByteArray target = QFile::encodeName(path);
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const bool created = fd >= 0;
    const int handle = created ? fd : ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (handle < 0)
        fail(path, systemReason(errno));
    const off_t oldSize = created ? 0 : ::lseek(handle, 0, SEEK_END);
    int error = oldSize < 0 ? errno : writeAll(handle, bytes);
    if (!error && ::fsync(handle) != 0)
        error = errno;
    if (error) {
        if (created)
            ::unlink(target.constData());
        else if (oldSize >= 0 && ::ftruncate(handle, oldSize) != 0) {
            // Nothing more can be done; the reason reported is the write's.
        }
    }
    if (::close(handle) != 0 && !error)
        error = errno;
    if (error)
        fail(path, systemReason(error));
#else
    const QFileInfo before(path);
    const bool existed = before.exists();
    const qint64 oldSize = existed ? before.size() : 0;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        fail(path, file.errorString());
    if (file.write(bytes) == bytes.size() && file.flush())
        return;
    const QString reason = file.errorString();
    file.close();
    if (existed)
        QFile::resize(path, oldSize);
    else
        QFile::remove(path);
    fail(path, reason);
#endif
}

} // namespace lumen::safefile
