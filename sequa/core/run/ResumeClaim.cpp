#include "sequa/core/run/ResumeClaim.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/SafeFile.h"
#include "sequa/core/run/JournalLock.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QUuid>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace lumen::sequa {

namespace {

/** Most bytes read of a journal, as a resume reads it. */
constexpr qint64 kJournalCap = 64LL * 1024 * 1024;
constexpr int kOpeningEntries = 3;

/** The whole entries of a journal, each without its "HH:MM:SS " time. */
QStringList entriesOf(const QByteArray &journal)
{
    static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d "));
    QStringList lines = fromCp1252(journal).split(QStringLiteral("\r\n"));
    lines.removeLast(); // a torn last entry, or nothing
    QStringList entries;
    for (const QString &line : lines)
        entries.append(time.match(line).hasMatch() ? line.mid(9) : line);
    return entries;
}

/** True when the journal's run ended having played nothing: its claim is free again. */
bool playedNothing(const QString &journal)
{
    QByteArray bytes;
    try {
        bytes = outsidefile::read(journal, kJournalCap);
    } catch (const Failure &) {
        return false; // a claim by a journal nobody can read stays taken
    }
    const QStringList entries = entriesOf(bytes);
    for (auto it = entries.crbegin(); it != entries.crend(); ++it)
        if (it->startsWith(QStringLiteral("Exit status: ")))
            return it->mid(13).trimmed() == QStringLiteral("2");
    return false;
}

/** Holds the claims folder's lock for its lifetime. */
class FolderLock
{
public:
    explicit FolderLock(const QString &folder)
    {
#ifdef Q_OS_UNIX
        m_fd = ::open(QFile::encodeName(joinPath(folder, QStringLiteral(".lock"))).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0 || ::flock(m_fd, LOCK_EX) != 0)
            throw Failure(QStringLiteral("cannot lock the resume claims in ") + folder);
#endif
    }
    ~FolderLock()
    {
#ifdef Q_OS_UNIX
        if (m_fd >= 0)
            ::close(m_fd);
#endif
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

} // namespace

namespace ResumeClaim {

QString newIdentity()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString identityOf(const QByteArray &journal)
{
    const QStringList entries = entriesOf(journal);
    for (const QString &entry : entries)
        if (entry.startsWith(kIdEntry))
            return entry.mid(kIdEntry.size()).trimmed();
    const QByteArray opening = entries.mid(0, kOpeningEntries).join(u'\n').toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(opening, QCryptographicHash::Sha256).toHex());
}

QString identityOfFile(const QString &journal)
{
    return identityOf(outsidefile::read(journal, kJournalCap));
}

QString sharedFolder()
{
    return joinPath(joinPath(lumenRoot(), QStringLiteral(".sequa")), QStringLiteral("claims"));
}

namespace {
QString claimPath(const QString &folder, const QString &identity)
{
    static const QRegularExpression safe(QStringLiteral("^[0-9A-Za-z-]{1,80}$"));
    if (!safe.match(identity).hasMatch())
        throw Failure(QStringLiteral("its run identity cannot be read: ") + identity);
    return joinPath(folder, identity + QStringLiteral(".claim"));
}

/** Failure naming the journal that holds a live claim at `path`, unless it is `continuing`. */
void requireNoOtherClaim(const QString &path, const QString &continuing)
{
    if (!QFile::exists(path))
        return;
    const QString other = QString::fromUtf8(outsidefile::read(path, 4096)).trimmed();
    if (other == continuing)
        return;
    if (other.isEmpty() || JournalLock::held(other) || !playedNothing(other))
        throw Failure(QStringLiteral("it was continued already by ") +
                      (other.isEmpty() ? QStringLiteral("another run") : other));
}
} // namespace

void claim(const QString &folder, const QString &identity, const QString &continuing)
{
    const QString path = claimPath(folder, identity);
    makeFolder(folder);
    const FolderLock lock(folder);
    requireNoOtherClaim(path, continuing);
    safefile::replace(path, continuing.toUtf8());
}

void requireUnclaimed(const QString &folder, const QString &identity)
{
    requireNoOtherClaim(claimPath(folder, identity), QString());
}

} // namespace ResumeClaim

} // namespace lumen::sequa
