#pragma once

#include "sequa/core/resume/JournalCheckpoint.h"

#include <QByteArray>
#include <QString>
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

    static JournalReading parse(const QByteArray &bytes);
    /** Reads a regular file of at most kCap bytes; Failure when it cannot. */
    static JournalReading read(const QString &path);
};

} // namespace lumen::sequa
