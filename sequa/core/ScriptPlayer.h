#pragma once

#include <QString>

namespace lumen::sequa {

class CommandRunner;
class MainModel;

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

    /**
     * Plays the script text. Returns true (failed) when the run was stopped by
     * "No Connection", ended with loops left open, or could not be run at all.
     * Playing is cleared and both temporary files are removed on every way out.
     */
    bool PlayScript(const QString &script);

    /** True for a line the player executes: neither a comment (";" or "#" first) nor only blanks.
     */
    static bool isCommandLine(const QString &line);

private:
    bool playLines();
    void closeOut(const QString &runLogPath);

    MainModel &m_model;
    CommandRunner &m_runner;
};

} // namespace lumen::sequa
