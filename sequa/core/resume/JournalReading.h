#pragma once

#include "sequa/core/resume/JournalCheckpoint.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace lumen::sequa {

/**
 * What a resume needs of a run journal: its kind, script, checkpoint and
 * how it ended. Only whole entries count: a last entry without its line end
 * (a write cut by a kill) is left out.
 */
struct JournalReading
{
    /** Most bytes read of a journal: a night of 9999 passes stays well below it. */
    static constexpr qint64 kCap = 64LL * 1024 * 1024;

    enum class Kind
    {
        NoJournal, ///< no "Run started" or "Run refused" entry first
        Run,
        Refused
    };
    Kind kind = Kind::NoJournal;
    QString script;
    QString sha256;
    QString resumes; ///< the journal this run continued, if it was a resume
    QString chain;   ///< the first journal of the chain this run belongs to
    QString resumedBy;
    std::optional<JournalCheckpoint> checkpoint;
    /** The entry text of a checkpoint that is malformed, or empty. */
    QString badCheckpoint;
    std::optional<int> exitStatus;
    /** The last "Outcome: " entry. */
    QString outcome;
    /** The LUMEN_QC_GATE statuses the run played under ("Quality gate: "), or empty. */
    QString qualityGate;
    /** The entries naming failed passes and lines outside loops, carried ones too (FailedPasses).
     */
    QStringList failures;
    /** A run of --redo-failed: the passes it was to play again ("Redo pass: " entries). */
    bool redo = false;
    QStringList redoPasses;

    static JournalReading parse(const QByteArray &bytes);
    /** Reads a regular file of at most kCap bytes; Failure when it cannot. */
    static JournalReading read(const QString &path);
};

} // namespace lumen::sequa
