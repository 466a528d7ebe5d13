#include "common/core/SafeFile.h"

#include "common/core/Failure.h"
#include "common/core/PartialFiles.h"
#include "common/core/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen::safefile {
namespace {

[[noreturn]] void fail(const QString &path, const QString &reason)
{
    const QString unmade = folderProblem(path);
    throw Failure(QStringLiteral("Could not write file: ") + path + QStringLiteral(" (") +
                  (unmade.isEmpty() ? reason : unmade) + QStringLiteral(")"));
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

/**
 * The file a name stands for: a symbolic link is followed to what it points
 * at (which need not exist yet), so that a replace writes that file and the
 * link stays. Fails with ELOOP as the system does on a cycle.
 */
QByteArray followLinks(QByteArray path, int *error)
{
    constexpr int kMaxHops = 40; // the system's own limit
    for (int hop = 0; hop < kMaxHops; ++hop) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(qsizetype(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) {
            *error = n < 0 ? errno : ENAMETOOLONG;
            return path;
        }
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target = (slash >= 0 ? path.left(slash + 1) : QByteArray()) + target;
        }
        path = target;
    }
    *error = ELOOP;
    return path;
}

/** Whether `fd` is still the file at `path` (a replace or a failed first append may have swapped
 * it). */
bool stillAtPath(int fd, const QByteArray &path)
{
    struct stat open, named;
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

int lockWhole(int fd)
{
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR)
            return errno;
    return 0;
}
#endif

} // namespace

void replace(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    int error = 0;
    const QByteArray target =
        followLinks(QFile::encodeName(QFileInfo(path).absoluteFilePath()), &error);
    if (error)
        fail(path, systemReason(error));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? target.left(slash) : QByteArray("/");
    QByteArray temp = partialfiles::templateFor(folder, target.mid(slash + 1));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        fail(path, systemReason(errno));
    partialfiles::sweep(folder, temp);
    struct stat old;
    const mode_t mode =
        ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    error = ::fchmod(fd, mode) == 0 ? 0 : errno;
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
    // Many programs append to one file at once (a stability log fed by
    // several loops, a day's ROI log): every writer opens for appending and
    // holds the file's lock while it writes, so lines never interleave, and a
    // failed append can cut the file back to its length before without
    // cutting off anyone else's line.
    const QByteArray target = QFile::encodeName(path);
    constexpr int kMaxTries = 100;
    int error = 0;
    for (int attempt = 0; attempt < kMaxTries; ++attempt) {
        bool created = false;
        int fd = ::open(target.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(target.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC,
                        0666);
            created = fd >= 0;
            if (fd < 0 && errno == EEXIST)
                continue; // another writer made it first: open theirs
        }
        if (fd < 0)
            fail(path, systemReason(errno));
        error = lockWhole(fd);
        if (!error && !stillAtPath(fd, target)) {
            // Replaced, or removed by a first append that failed, while we waited.
            ::close(fd);
            continue;
        }
        struct stat before;
        const bool sized = !error && ::fstat(fd, &before) == 0;
        if (!error && !sized)
            error = errno;
        if (!error)
            error = writeAll(fd, bytes);
        if (!error && ::fsync(fd) != 0)
            error = errno;
        if (error && sized) {
            if (::ftruncate(fd, before.st_size) != 0) {
                // Nothing more can be done; the reason reported is the write's.
            }
            if (created && before.st_size == 0)
                ::unlink(target.constData());
        }
        if (::close(fd) != 0 && !error)
            error = errno;
        if (error)
            fail(path, systemReason(error));
        return;
    }
    fail(path, QStringLiteral("the file kept being replaced while appending"));
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
