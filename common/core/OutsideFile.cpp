#include "common/core/OutsideFile.h"

#include "common/core/Failure.h"
#include "common/core/Paths.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumen::outsidefile {
namespace {

[[noreturn]] void notRegular(const QString &path)
{
    throw Failure(QStringLiteral("Not a regular file: ") + path);
}

[[noreturn]] void tooLarge(const QString &path, qint64 cap)
{
    throw Failure(QStringLiteral("File too large (more than %1 bytes): ").arg(cap) + path);
}

[[noreturn]] void cannotRead(const QString &path, const QString &reason)
{
    throw Failure(QStringLiteral("Cannot read ") + path + QStringLiteral(": ") + reason);
}

} // namespace

QByteArray read(const QString &path, qint64 cap)
{
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink())) {
        const QString unmade = folderProblem(path);
        throw Failure(QStringLiteral("File not found: ") + path +
                      (unmade.isEmpty() ? QString() : QStringLiteral(" (") + unmade + u')'));
    }
    if (!info.isFile())
        notRegular(path);
#ifdef Q_OS_UNIX
    // Opened without blocking and checked again on the open handle, so a FIFO
    // put in the file's place after the look above cannot stall the read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        cannotRead(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        cannotRead(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        notRegular(path);
    if (st.st_size > cap)
        tooLarge(path, cap);
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size) + 1);
    qsizetype got = 0;
    // The size can be stale (a growing file, a size the kernel does not know):
    // read on up to the cap, and one byte past it to see that it is exceeded.
    for (;;) {
        if (got == bytes.size()) {
            if (got > cap)
                tooLarge(path, cap);
            bytes.resize(qMin<qint64>(cap + 1, qint64(bytes.size()) * 2 + 4096));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            cannotRead(path, QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got > cap)
        tooLarge(path, cap);
    bytes.resize(got);
    return bytes;
#else
    if (info.size() > cap)
        tooLarge(path, cap);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        cannotRead(path, file.errorString());
    QByteArray bytes = file.read(cap + 1);
    if (file.error() != QFileDevice::NoError)
        cannotRead(path, file.errorString());
    if (bytes.size() > cap)
        tooLarge(path, cap);
    return bytes;
#endif
}

} // namespace lumen::outsidefile
