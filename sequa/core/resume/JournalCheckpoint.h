#pragma once

#include "sequa/core/run/PassTally.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::sequa {

class MainModel;

/**
 * Where a run stands after a completed line, as one journal entry:
 * "Checkpoint: line 12; loops 5:2/3@4/0/0,9:1/2@6/0/0; answers 7; failed 0/0".
 * For every open loop, outermost first: its LoopBeg line, pass/passes and the
 * tally (answers/failed lines/failed programs) at that pass's start; then the
 * tally now. A resume plays each open loop's pass again from that start.
 */
struct JournalCheckpoint
{
    static inline const QString kEntry = QStringLiteral("Checkpoint: ");

    struct OpenLoop
    {
        int beginLine = 0;
        int pass = 1;
        int passes = 1;
        PassTally atPassStart;

        bool operator==(const OpenLoop &) const = default;
    };

    int line = 0;
    QList<OpenLoop> loops;
    PassTally now;

    bool operator==(const JournalCheckpoint &) const = default;

    /** The model's state after the line it has just completed. */
    static JournalCheckpoint of(MainModel &model);
    /** The entry text, "Checkpoint: " first. */
    QString text() const;
    /** The checkpoint an entry's text (without its time) holds; nothing when it holds none. */
    static std::optional<JournalCheckpoint> parse(const QString &entry);
};

} // namespace lumen::sequa
