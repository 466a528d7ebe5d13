#pragma once

#include <QString>

namespace lumen::sequa {

class RunProgress;
class RunRecord;

/**
 * Pause and Resume of a playing script, asked by the window's button or by
 * SIGUSR1 and SIGUSR2. A pause holds the run where nothing is lost by
 * holding it: at the next line boundary, and inside a WaitSeconds countdown,
 * which then goes on with the time it had left. Waits the host counts
 * (WaitPreset) or a program runs (WaitExtProg) go on to their end first:
 * holding them would not stop the host's clock. Every pause and resume is
 * journalled with who asked for it.
 */
class RunPause
{
public:
    /** What asked, as the journal and the window say it. */
    static inline const QString kByOperator = QStringLiteral("the operator");

    RunPause(RunRecord &record, RunProgress &progress);

    /** False (and nothing changes) when no run plays, it is paused already or stopping. */
    bool pause(const QString &by);
    /** False when the run is not paused. */
    bool resume(const QString &by);

    /**
     * Holds while the run is paused, the window alive, until it is resumed or
     * stopped; returns at once when it is not paused or is held already (a
     * wait a recorder button starts during a hold must not hold the button).
     * A stop takes the pause back, so the run closes out as any stopped run.
     * True when it held.
     */
    bool hold();

private:
    RunRecord &m_record;
    RunProgress &m_progress;
};

} // namespace lumen::sequa
