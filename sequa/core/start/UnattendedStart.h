#pragma once

#include <QString>
#include <QTextStream>

namespace lumen::sequa {

class SequaProgram;
struct ResumePlan;

/**
 * A script file named on the command line, loaded and played during
 * start-up. A run that reaches the end of its script ends the program, and
 * so does a stopped one. A failed run returns to start-up so the window opens
 * for the operator with Immediate Test Mode checked, unless the run is told
 * to end on failure: without a display nobody could use that window. A script that cannot be
 * read, does not fit the script box, or meets a host setting that cannot be
 * read is refused before any line plays.
 */
class UnattendedStart
{
public:
    enum class Outcome
    {
        NotStarted, ///< no command line
        Unreadable, ///< the named file could not be read
        Refused,    ///< nothing played: the script is too long or a host setting is invalid
        Succeeded,  ///< the script ran to its end (some lines may have failed: see exitStatus)
        Failed      ///< the run was stopped
    };

    /** `endOnFailure`: a failed run (or an unreadable file) ends the program as well. */
    explicit UnattendedStart(bool endOnFailure = false) : m_endOnFailure(endOnFailure) {}

    /**
     * The start-up continues the run of this journal (`Sequa --resume`)
     * instead of playing the command line's script: its script is the one
     * the journal names, refused when it is not resumable (ResumePlan).
     */
    void resumeFrom(const QString &journal) { m_resumeJournal = journal; }
    /** `--redo-failed`: the resume plays again exactly the passes its run names as failed. */
    void setRedoFailed(bool redo) { m_redoFailed = redo; }
    bool resuming() const { return !m_resumeJournal.isEmpty(); }

    /** The start-up hook: plays the file; returns true when the program should end. */
    bool operator()(SequaProgram &program, const QString &commandLine);

    Outcome outcome() const { return m_outcome; }
    /** Why the file could not be read or was refused. */
    const QString &reason() const { return m_reason; }
    /** RunRecord::Status of the run (2 when nothing was played). */
    int exitStatus() const { return m_exitStatus; }
    /**
     * The program's status when the window that opened after this start-up
     * is closed with `windowStatus`: a run that was stopped or refused keeps
     * its own status, as its journal says, whatever the operator did since.
     */
    int windowExitStatus(int windowStatus) const;
    /** The run's journal. */
    const QString &journalPath() const { return m_journalPath; }

    /**
     * The run without a display: installs the hook ending on failure, echoes
     * the run log to `err`, runs start-up and returns the exit status
     * (RunRecord::Status). The window is never needed. With `resumeJournal`
     * the run continues that journal's run (resumeFrom).
     */
    static int run(SequaProgram &program, const QString &commandLine, QTextStream &err,
                   const QString &resumeJournal = QString(), bool redoFailed = false);

private:
    bool refuse(SequaProgram &program, Outcome outcome, const QString &path, const QString &reason);
    /** The resumed run's gate when LUMEN_QC_GATE is unset; true when it was set here. */
    static bool keepGate(const ResumePlan &plan);

    bool m_endOnFailure;
    QString m_resumeJournal;
    bool m_redoFailed = false;
    QString m_script; ///< the script played: the command line, or the resumed journal's
    Outcome m_outcome = Outcome::NotStarted;
    QString m_reason;
    int m_exitStatus = 2;
    QString m_journalPath;
};

} // namespace lumen::sequa
