#include "ledgerly/core/NewArchiveFile.h"

#include "common/core/Failure.h"
#include "ledgerly/core/ResultsDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace lumen::ledgerly {

namespace {

QString tempPrefix(const QFileInfo &info)
{
    return QStringLiteral(".") + info.fileName() + QStringLiteral(".new-");
}

void removeStaleTemporaries(const QFileInfo &info)
{
    const QDateTime before =
        QDateTime::currentDateTimeUtc().addSecs(-NewArchiveFile::kStaleSeconds);
    const QDir folder = info.absoluteDir();
    const QFileInfoList stale =
        folder.entryInfoList({tempPrefix(info) + u'*'}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : stale) {
        if (file.lastModified().toUTC() < before)
            QFile::remove(file.absoluteFilePath());
    }
}

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
    removeStaleTemporaries(info);
    QByteArray temp =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/") + tempPrefix(info)) + "XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        failWith(errno);
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
