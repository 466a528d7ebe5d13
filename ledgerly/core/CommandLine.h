#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lumen::ledgerly {

/**
 * The unattended modes chosen by words on the command line ("APPEND", "NET",
 * "GROSS", "BKG", "RESET", any letter case, anywhere in the text). Runs on
 * the core alone: no window is made and messages go to the error stream.
 */
class CommandLine
{
public:
    enum class Command
    {
        None,
        Append,
        Reset
    };

    struct Choice
    {
        Command command = Command::None;
        int appendMode = 0;
    };

    /** The mode the words after the program name ask for. */
    static Choice parse(const QStringList &args);

    /** Exit statuses of an unattended run. */
    enum Status : int
    {
        Done = 0,
        ReportNotRead = 2, ///< the report could not be opened
        ReportEmpty = 3,   ///< the report was missing, empty or no report: nothing appended
        AppendFailed = 4,  ///< the database could not be opened or the record not stored
        ResetFailed = 5    ///< the fresh database could not be made
    };

    /**
     * One unattended run with the settings of `settingsFolder` (not written
     * back). Returns the exit status, or -1 when the words ask for no
     * unattended mode and the window is to open.
     */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err,
                   const QString &settingsFolder);
};

} // namespace lumen::ledgerly
