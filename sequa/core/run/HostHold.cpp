#include "sequa/core/run/HostHold.h"

#include "common/core/Clock.h"
#include "common/core/Failure.h"
#include "common/core/Paths.h"

#include <QCoreApplication>
#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace lumen::sequa {

namespace {
/** The file holds "PID TAB HOLDER": the process id tells a process its own hold. */
QString holderOf(const QByteArray &content)
{
    const qsizetype tab = content.indexOf('\t');
    if (tab < 0 || content.left(tab).toLongLong() == QCoreApplication::applicationPid())
        return QString();
    return QString::fromUtf8(content.mid(tab + 1));
}
} // namespace

QString HostHold::lockPath()
{
    return joinPath(joinPath(lumenRoot(), QStringLiteral(".sequa")), QStringLiteral("host.hold"));
}

QString HostHold::refusal(const QString &holder)
{
    return QStringLiteral("The host is held by ") + holder;
}

namespace {
QString &currentHolder()
{
    static QString holder;
    return holder;
}
} // namespace

QString HostHold::current()
{
    return currentHolder();
}

void HostHold::setCurrent(const QString &holder)
{
    currentHolder() = holder;
}

HostLending::HostLending(bool waitedFor)
{
    if (waitedFor && !HostHold::current().isEmpty())
        qputenv(HostHold::kLentVariable, HostHold::current().toUtf8());
    else
        qunsetenv(HostHold::kLentVariable);
}

HostLending::~HostLending()
{
    qunsetenv(HostHold::kLentVariable);
}

QString HostHold::lent()
{
    return qEnvironmentVariable(kLentVariable);
}

QString HostHold::describeRun(const QString &journal)
{
    // The run's clock, as its journal's "Run started" entry gives it.
    return QStringLiteral("Sequa run of journal %1 (process %2, started %3)")
        .arg(journal)
        .arg(QCoreApplication::applicationPid())
        .arg(currentClock().now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

#ifdef Q_OS_UNIX

HostHold::HostHold(const QString &holder)
{
    const QString path = lockPath();
    try {
        makeFolder(joinPath(lumenRoot(), QStringLiteral(".sequa")));
    } catch (const Failure &) {
        return;
    }
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0)
        return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        const QByteArray content =
            QByteArray::number(QCoreApplication::applicationPid()) + '\t' + holder.toUtf8();
        if (::ftruncate(m_fd, 0) != 0 ||
            ::pwrite(m_fd, content.constData(), size_t(content.size()), 0) != content.size()) {
            // The name is a courtesy to the runs refused: the lock alone holds the host.
        }
        return;
    }
    ::close(m_fd);
    m_fd = -1;
    const QString other = heldBy();
    // The run that started this one holds the host and waits for it to end.
    if (!other.isEmpty() && other == lent())
        return;
    throw Failure(refusal(other.isEmpty() ? QStringLiteral("another Sequa run") : other));
}

HostHold::~HostHold()
{
    if (m_fd < 0)
        return;
    // The file stays: removing it could part a later run's lock from its name.
    if (::ftruncate(m_fd, 0) != 0) {
        // A stale name is harmless: only a live lock holds the host.
    }
    ::close(m_fd);
}

QString HostHold::heldBy()
{
    const int fd = ::open(QFile::encodeName(lockPath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QString();
    QString holder;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        char buffer[4096];
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
        holder = holderOf(QByteArray(buffer, n > 0 ? int(n) : 0));
    }
    ::close(fd);
    return holder;
}

#else

HostHold::HostHold(const QString &) {}
HostHold::~HostHold() = default;
QString HostHold::heldBy()
{
    return QString();
}

#endif

} // namespace lumen::sequa
