#pragma once

#include "sequa/core/run/JournalLock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

namespace lumen::sequa {

/**
 * The journal of one script run: a text file in the "journal" folder of the
 * program directory, named by the run's start time, that outlives the run.
 * Every entry is appended as one whole line at once, so a run that is killed
 * still leaves what it did. Journals are never deleted by the program.
 */
class RunJournal
{
public:
    static inline const QString kFolderName = QStringLiteral("journal");

    /**
     * Creates a new journal file in programFolder/journal, named
     * "YYYY-MM-DD_HHMMSS.txt" by `started` ("_002", "_003", ... added when a
     * run of the same second already has that name), and never named before
     * a journal already in the folder, so that names sort in the order runs
     * began. Failure when it cannot.
     */
    RunJournal(const QString &programFolder, const QDateTime &started);

    /**
     * Leaves the journal of a start that played nothing: its script, the
     * reason and the exit status. A journal that cannot be written is said
     * on standard error.
     */
    static void writeRefusal(const QString &programFolder, const QString &script,
                             const QString &reason, int exitStatus);

    const QString &path() const { return m_path; }

    /**
     * The first journal of the chain of resumed runs this one belongs to:
     * the night's name for what its programs record. Its own path unless set.
     */
    const QString &chainFirst() const { return m_chainFirst.isEmpty() ? m_path : m_chainFirst; }
    void setChainFirst(const QString &first) { m_chainFirst = first; }

    /**
     * Appends one entry to an earlier journal, on a line of its own even
     * after a torn last entry. Failure when it cannot.
     */
    static void appendTo(const QString &path, const QString &text);

    /**
     * Appends "HH:MM:SS text" (the clock's time), control characters as
     * "\xNN" so that every entry stays one line. A journal that cannot be
     * written any more says so once on standard error; the run goes on.
     */
    void write(const QString &text);
    /** Appends the entries at once: a kill leaves all of them or none. */
    void write(const QStringList &texts);
    /** True once an entry could not be written: the run must not go on unjournaled. */
    bool broken() const { return m_broken; }

private:
    QString m_path;
    std::unique_ptr<JournalLock> m_lock; ///< held while the run plays
    QString m_chainFirst;
    bool m_broken = false;
};

} // namespace lumen::sequa
