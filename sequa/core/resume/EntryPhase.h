#pragma once

#include "sequa/core/resume/JournalCheckpoint.h"

#include <QString>
#include <QStringList>

namespace lumen::sequa {

class MainModel;

/**
 * How a resumed run finds its way back in. The pass is the unit of work:
 * the lines before a loop the checkpoint holds open are played again (the
 * host may have lost its state), each such loop is entered at its
 * interrupted pass with the tally of that pass's start, and any other loop
 * met on the way, an inner loop of the interrupted pass too, completed
 * before and is passed over unplayed. The phase ends after the checkpoint's
 * line, with the tally the checkpoint holds; from there the run plays as
 * any other.
 */
class EntryPhase
{
public:
    /** Not active: a run played from its start. */
    EntryPhase() = default;
    /**
     * `failures`: the failed passes the resumed journal names (FailedPasses),
     * so that an inner loop passed over in the interrupted pass still counts
     * the failures of its passes.
     */
    explicit EntryPhase(const JournalCheckpoint &checkpoint,
                        const QStringList &failures = QStringList());

    bool active() const { return m_active; }

    /**
     * Before command line `line` (the model's current line) is played:
     * true when it begins a loop that completed before the resume; the play
     * file is then read past its matching LoopEnd, unplayed.
     */
    bool skipsCompletedLoop(const QString &line, MainModel &model);
    /** After each line the player read (and played, or skipped). */
    void lineDone(const QString &line, MainModel &model);

    /** "line 9, loop at line 5 pass 2 of 3": where the run goes on. */
    static QString describe(const JournalCheckpoint &checkpoint);

private:
    /** The run goes on with the tally it had at this point: answers, failed lines and programs. */
    static void begin(const PassTally &tally, MainModel &model);

    /** Failed passes named before, inside the loop at `beginLine` of the pass played again. */
    int failedPassesInside(int beginLine) const;

    JournalCheckpoint m_checkpoint;
    QStringList m_failures;
    int m_nextLoop = 0;
    bool m_active = false;
};

} // namespace lumen::sequa
