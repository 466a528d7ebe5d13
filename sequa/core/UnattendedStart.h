#pragma once

#include <QString>
#include <QTextStream>

namespace lumen::sequa {

class SequaProgram;

/**
 * A script file named on the command line, loaded and played during
 * start-up. A successful run ends the program. A failed run returns to
 * start-up so the window opens for the operator with Immediate Test Mode
 * checked, unless the run is told to end on failure: without a display
 * nobody could use that window.
 */
class UnattendedStart
{
public:
    enum class Outcome
    {
        NotStarted, ///< no command line
        Unreadable, ///< the named file could not be opened
        Succeeded,
        Failed
    };

    /** `endOnFailure`: a failed run (or an unreadable file) ends the program as well. */
    explicit UnattendedStart(bool endOnFailure = false) : m_endOnFailure(endOnFailure) {}

    /** The start-up hook: plays the file; returns true when the program should end. */
    bool operator()(SequaProgram &program, const QString &commandLine);

    Outcome outcome() const { return m_outcome; }
    /** Why the file could not be read, for Unreadable. */
    const QString &reason() const { return m_reason; }

    /**
     * The run without a display: installs the hook ending on failure, echoes
     * the run log to `err`, runs start-up and returns the exit status: 0 when
     * the script ran to success, 1 when it failed, 2 when the file could not
     * be read. The window is never needed.
     */
    static int run(SequaProgram &program, const QString &commandLine, QTextStream &err);

private:
    bool m_endOnFailure;
    Outcome m_outcome = Outcome::NotStarted;
    QString m_reason;
};

} // namespace lumen::sequa
