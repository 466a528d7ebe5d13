#pragma once

#include "sequa/core/run/PassTally.h"

#include <QList>
#include <QString>

namespace lumen::sequa {

class RunJournal;

/**
 * What one script run did, as a scheduler and the journal need to know it:
 * why it stopped, how many lines failed, whether the host ever answered.
 * Reset at the start of every run.
 */
class RunRecord
{
public:
    /** Exit statuses of an unattended run. */
    enum Status
    {
        kCompleted = 0, ///< ran to its end, every line answered "OK"
        kStopped = 1,   ///< No Connection, loops left open, operator, signal, host never reached
        kNotPlayed = 2, ///< nothing was played (unreadable or refused script, bad host setting)
        kLinesFailed =
            3, ///< ran to its end, some lines gave an error reply or their program failed
        kQualityStop = 4, ///< a program ended with a status that LUMEN_QC_GATE lists
    };

    /** The stop reason of the window's Stop Script and of Exit during a run. */
    static inline const QString kOperatorStop = QStringLiteral("stopped by the operator");

    void reset();

    /** Asks the running script to stop as soon as it can: waits end at once. */
    void requestStop(const QString &reason);
    bool stopRequested() const { return !m_stopReason.isEmpty(); }
    /** Stops the run because a quality check failed: the run then ends with kQualityStop. */
    void requestQualityStop(const QString &reason);
    bool qualityStopped() const { return m_qualityStop; }
    /** Takes back a stop once the run it was meant for has closed out. */
    void clearStop()
    {
        m_stopReason.clear();
        m_qualityStop = false;
    }
    const QString &stopReason() const { return m_stopReason; }

    /**
     * Pause: the run holds at its next line boundary (RunPause) until it is
     * resumed or stopped. `by` says who asked ("the operator", "SIGUSR1").
     */
    void setPausedBy(const QString &by) { m_pausedBy = by; }
    bool paused() const { return !m_pausedBy.isEmpty(); }
    const QString &pausedBy() const { return m_pausedBy; }

    void noteHostReached() { m_hostReached = true; }
    bool hostReached() const { return m_hostReached; }
    void noteFailedLine() { ++m_failedLines; }
    int failedLines() const { return m_failedLines; }
    /**
     * A program that line `line` started and waited for ended with anything
     * but status 0: the run then cannot end as done.
     */
    void noteFailedProgram(int line) { m_failedPrograms.append(line); }
    const QList<int> &failedPrograms() const { return m_failedPrograms; }

    /**
     * A box nobody was there to answer was cancelled (the answers given ahead
     * ran out): its line counts as failed.
     */
    void noteUnansweredBox();
    int unansweredBoxes() const { return m_unansweredBoxes; }

    /** An input box was put to the operator: one answer given ahead is used. */
    void noteAnswerAsked() { ++m_answersAsked; }
    int answersAsked() const { return m_answersAsked; }
    /** Answers asked, failed lines and failed programs so far (those of resumed runs too). */
    PassTally tally() const;
    /**
     * Takes up the tally a resumed run had at the pass it plays again: what
     * this run counted before is dropped, since the interrupted run counted it.
     */
    void restoreTally(const PassTally &tally);
    /** Goes on after `answers` answers, as a resumed run that skipped some does. */
    void restoreAnswers(int answers) { m_answersAsked = answers; }

    /** An unattended run: nobody is there to end a wait that cannot end by itself. */
    void setUnattended(bool on) { m_unattended = on; }
    bool unattended() const { return m_unattended; }

    /** The journal of the current run, or nullptr. The record does not own it. */
    RunJournal *journal() const { return m_journal; }
    void setJournal(RunJournal *journal) { m_journal = journal; }

    /**
     * The status of a run that played: `stoppedEarly` is the player's failed
     * result (No Connection, loops left open, or a stop).
     */
    int exitStatus(bool stoppedEarly) const;
    /** One sentence for the journal and standard error. */
    QString outcomeText(bool stoppedEarly) const;

private:
    /** "12, 12, 12": the lines of the failed programs, one per failure, the first 20. */
    QString failedProgramLines() const;

    QString m_stopReason;
    QString m_pausedBy;
    bool m_qualityStop = false;
    bool m_hostReached = false;
    int m_failedLines = 0;
    QList<int> m_failedPrograms;
    int m_carriedFailedPrograms = 0; ///< failed programs of the runs this one resumes
    int m_answersAsked = 0;
    int m_unansweredBoxes = 0;
    int m_answersRanOutAt = 0; ///< the answer of the run the first unanswered box would have taken
    bool m_unattended = false;
    RunJournal *m_journal = nullptr;
};

} // namespace lumen::sequa
