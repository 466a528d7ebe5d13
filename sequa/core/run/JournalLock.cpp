#include "sequa/core/run/JournalLock.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace lumen::sequa {

namespace {
QByteArray holdPath(const QString &journal)
{
    const QFileInfo info(journal);
    return QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".playing"));
}
} // namespace

#ifdef Q_OS_UNIX

JournalLock::JournalLock(const QString &journal) : m_path(holdPath(journal))
{
    m_fd = ::open(m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

JournalLock::~JournalLock()
{
    if (m_fd < 0)
        return;
    ::unlink(m_path.constData());
    ::close(m_fd);
}

bool JournalLock::held(const QString &journal)
{
    const QByteArray path = holdPath(journal);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    if (!held)
        ::unlink(path.constData());
    ::close(fd);
    return held;
}

#else

JournalLock::JournalLock(const QString &journal) : m_path(holdPath(journal)) {}
JournalLock::~JournalLock() = default;
bool JournalLock::held(const QString &)
{
    return false;
}

#endif

} // namespace lumen::sequa
