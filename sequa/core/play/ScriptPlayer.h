#pragma once

#include "sequa/core/play/RunHold.h"
#include "sequa/core/resume/EntryPhase.h"
#include "sequa/core/resume/FailedPasses.h"
#include "sequa/core/resume/ResumePlan.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace lumen::sequa {

class CommandRunner;
class MainModel;
class RunJournal;

/**
 * PlayScript: runs a script line by line through ExecuteCommandLine from a
 * temporary copy (the play file, which LoopEnd rewinds), with a temporary run
 * log of the errors. Both files exist only for the run.
 */
class ScriptPlayer
{
public:
    /** Prefix of the temporary play file. */
    static inline const QString kPlayFilePrefix = QStringLiteral("SDE");
    /** Prefix of the temporary run log. */
    static inline const QString kRunLogPrefix = QStringLiteral("SLG");

    ScriptPlayer(MainModel &model, CommandRunner &runner);
    ~ScriptPlayer();

    /**
     * Names the script for the journal: where it came from and its bytes as
     * read (their SHA-256 is journalled). Without it the journal names the
     * script box and hashes its text.
     */
    void setSource(const QString &path, const QByteArray &bytes);

    /**
     * Plays the next run as the continuation of the plan's journal: its
     * journal names the one it resumes and the chain's first, and the run
     * enters the loops that were open at the interrupted passes (EntryPhase).
     */
    void setResume(const ResumePlan &plan) { m_resume = plan; }

    /**
     * Plays the script text. Returns true (failed) when the run was stopped by
     * "No Connection", ended with loops left open, or could not be run at all.
     * Playing is cleared and both temporary files are removed on every way out.
     */
    bool PlayScript(const QString &script);

    /** True for a line the player executes: neither a comment (";" or "#" first) nor only blanks.
     */
    static bool isCommandLine(const QString &line);

    /** The exit status the last PlayScript gives an unattended run (RunRecord::Status). */
    int exitStatus() const { return m_exitStatus; }
    /** The journal the last PlayScript wrote (empty when none could be made). */
    const QString &journalPath() const { return m_journalPath; }
    /**
     * Why the last PlayScript played nothing although its journal opened:
     * another run holds the host or continued the resumed run, or the
     * journal cannot be written. Empty when it played.
     */
    const QString &refusal() const { return m_refusal; }

private:
    bool playLines();
    void closeOut(const QString &runLogPath);
    void openJournal(const QString &script);
    void closeJournal(const QString &outcome);
    void writeGateEntry();
    void writeResumeEntries();
    /** --redo-failed: each failed pass played as a resume enters it, up to its LoopEnd. */
    bool playFailedPasses();
    /** True for the LoopEnd that ends the pass a redo plays again. */
    bool endsRedonePass(const QString &line);
    /** The checkpoint entry after a played line: none while the run finds its way back in. */
    QStringList checkpointAfterLine();

    MainModel &m_model;
    CommandRunner &m_runner;
    QString m_sourcePath;
    QByteArray m_sourceBytes;
    bool m_hasSource = false;
    int m_exitStatus = 0;
    QString m_journalPath;
    QString m_journalFailure;
    std::unique_ptr<RunJournal> m_journal;
    std::optional<ResumePlan> m_resume;
    EntryPhase m_entry;
    FailedPasses m_failedPasses;
    int m_redoneDepth = 0; ///< the depth of the pass a redo plays; 0 otherwise
    RunHold m_hold;
    QString m_refusal;
};

} // namespace lumen::sequa
