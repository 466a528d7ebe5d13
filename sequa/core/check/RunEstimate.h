#pragma once

#include "sequa/core/check/CheckClock.h"
#include "sequa/core/check/ScriptCheckPlaces.h"
#include "sequa/core/resume/JournalCheckpoint.h"

#include <QStringList>
#include <vector>

namespace lumen::sequa {

/**
 * How long a script will run on a real host at real time, found by playing
 * it on a private simulated host: scratch folders for every file the play
 * writes (the program directory and LUMEN_ROOT point there meanwhile), a
 * clock that jumps through waits, the operator's answers given ahead or each
 * box's default, and external programs counted with their settle instead
 * of started. The host the lab uses is never reached. The play is
 * unattended, as a run from a scheduler is, and keeps every line that did
 * not answer "OK".
 */
struct RunEstimate
{
    /** A line the trial play failed: its number in the script and its reply. */
    struct LineFailure
    {
        int line = 0;
        QString reply;
    };

    double seconds = 0;   ///< of the run, presets, dead time, passes, waits and settles in
    bool complete = true; ///< false: the play gave up, the run takes longer than `seconds`
    QString stopReason;   ///< why it gave up
    int stoppedAtLine = 0;
    int programsCounted = 0;           ///< external program starts, each counted at its settle only
    std::vector<LineFailure> failures; ///< in play order, each line once

    /** `resumeAt`: the time left of a run resumed from that checkpoint. */
    static RunEstimate ofScript(const QStringList &lines, const ScriptCheckPlaces &places,
                                const QStringList &answers,
                                const CheckClock::Limits &limits = CheckClock::Limits(),
                                const JournalCheckpoint *resumeAt = nullptr);
};

} // namespace lumen::sequa
