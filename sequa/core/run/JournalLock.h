#pragma once

#include <QByteArray>
#include <QString>

namespace lumen::sequa {

/**
 * A run's hold on its journal while it plays, so that `--resume` can tell a
 * run that is still playing from one that was killed: a lock on a hidden
 * file beside the journal (".NAME.playing"; the journal itself is locked by
 * every append), which the system lets go of when the process ends, however
 * it ends (a kill -9 too). The programs the run starts do not inherit it.
 */
class JournalLock
{
public:
    /** Holds the journal for the object's lifetime (nothing where it cannot). */
    explicit JournalLock(const QString &journal);
    ~JournalLock();
    JournalLock(const JournalLock &) = delete;
    JournalLock &operator=(const JournalLock &) = delete;

    /** True while a live process holds the journal; a hold left by a killed run is removed. */
    static bool held(const QString &journal);

private:
    QByteArray m_path;
    int m_fd = -1;
};

} // namespace lumen::sequa
