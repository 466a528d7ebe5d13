#include "common/core/FolderSync.h"

#include "common/core/Failure.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lumen {
namespace {

void flushFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (fd >= 0)
        ::close(fd);
    if (error)
        throw Failure(QStringLiteral("Could not flush folder: ") + folder + QStringLiteral(" (") +
                      QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(")"));
#else
    // A rename there is committed with the file's own flush.
    Q_UNUSED(folder);
#endif
}

} // namespace

void FolderSync::makeDurable(const QString &folder, Ticket ticket)
{
    const std::lock_guard lock(m_mutex);
    if (m_flushedUpTo.value(folder, 0) >= ticket)
        return;
    // Every rename counted before the flush begins is covered by it.
    const Ticket covered = m_renames.load();
    flushFolder(folder);
    m_flushedUpTo[folder] = covered;
    ++m_flushCount;
}

} // namespace lumen
