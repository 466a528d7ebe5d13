#include "ledgerly/core/NewArchiveFile.h"

#include "common/core/Failure.h"
#include "common/core/PartialFiles.h"
#include "ledgerly/core/ResultsDatabase.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumen::ledgerly {

namespace {

[[noreturn]] void failWith(int error)
{
    throw lumen::Failure(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

bool NewArchiveFile::createIfMissing(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return false;
    // Named and swept as every partial file of the suite is.
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    QByteArray temp = partialfiles::templateFor(folder, QFile::encodeName(info.fileName()));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        failWith(errno);
    partialfiles::sweep(folder, temp);
    // A temporary file is the owner's alone; an archive is shared as the
    // user's umask says, so that a second operator account can append.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    const QString tempPath = QFile::decodeName(temp);
    try {
        ResultsDatabase database(tempPath);
        database.ensureSchema();
    } catch (...) {
        QFile::remove(tempPath);
        throw;
    }
    // A link never replaces a file: an archive another process made meanwhile
    // stays, with whatever it has taken since.
    const int linked = ::link(temp.constData(), QFile::encodeName(path).constData());
    const int error = errno;
    ::unlink(temp.constData());
    if (linked != 0 && error != EEXIST)
        failWith(error);
    return linked == 0;
}

} // namespace lumen::ledgerly
