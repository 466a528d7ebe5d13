#pragma once

#include "sequa/core/resume/JournalCheckpoint.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumen::sequa {

/**
 * A run to continue, as `Sequa --resume JOURNAL` takes it from the journal:
 * its script (the bytes it hashed), the chain of journals it belongs to and
 * the last complete checkpoint (none: the run was killed before its first
 * line was done, and plays from the start).
 */
struct ResumePlan
{
    QString journal;    ///< the journal continued, absolute
    QString chainFirst; ///< the chain's first journal: the run's name for what it records
    QString script;     ///< the script's path, as the journal names it
    QByteArray scriptBytes;
    std::optional<JournalCheckpoint> checkpoint;
    /** The LUMEN_QC_GATE statuses the run played under; empty when it had no gate. */
    QString qualityGate;
    /** How the quality gate stopped the run, when it did (status 4). */
    QString gateStop;
    /** Failed passes and lines the new journal names again, so that a redo finds them. */
    QStringList carried;
    /** --redo-failed: the start of each pass to play again, in the run's order. */
    QList<JournalCheckpoint> passes;
    bool redo() const { return !passes.isEmpty(); }

    /**
     * The plan of a journal; Failure saying why it cannot be resumed: it is
     * no run journal, its run played to its end (status 0 or 3) or played
     * nothing or is still playing, its script changed since, or a journal in `journalFolder`
     * (or its own "Continued by" entry) shows it was resumed already.
     * `redoFailed` (--redo-failed): the run must have ended with 3 (or be a
     * redo cut short) and name the passes that failed, which the plan holds.
     */
    static ResumePlan prepare(const QString &journalPath, const QString &journalFolder,
                              bool redoFailed = false);

    /** The journal in `journalFolder` that resumed `journal` already, or empty. */
    static QString resumedBy(const QString &journal, const QString &journalFolder);
};

} // namespace lumen::sequa
