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

    /** The mode the words after the program name ask for (options already taken out). */
    static Choice parse(const QStringList &args);

    /** The options, taken out of the arguments before any command word is looked for. */
    struct Options
    {
        QString exportPath;      ///< --export FILE
        bool longForm = false;   ///< --long
        bool allRecords = false; ///< --all: superseded records too
        QString auditPath;       ///< --audit FILE
        bool again = false;      ///< --again: archive a report archived already
        bool verify = false;     ///< --verify: check the audit chain and every record
        QStringList words;       ///< what is left: the command words
        QString error;           ///< an option that is not known or lacks its value
    };
    static Options parseOptions(const QStringList &args);

    /** The --help text: words, options, environment and exit statuses. */
    static QString helpText();

    /** True when the arguments ask for a run without the window. */
    static bool isUnattended(const QStringList &args);

    /** Exit statuses of an unattended run. */
    enum Status : int
    {
        Done = 0,
        ReportNotRead = 2,    ///< the report could not be opened
        ReportEmpty = 3,      ///< the report was missing, empty or no report: nothing appended;
                              ///< also a report archived with a warning about its layout
        AppendFailed = 4,     ///< the database could not be opened or the record not stored
        ResetFailed = 5,      ///< the fresh database could not be made
        ExportFailed = 6,     ///< the database could not be read or the CSV file not written
                              ///< (also --verify on an archive that cannot be read)
        AlreadyArchived = 7,  ///< the same report (bytes and mode) is archived already
        ExportNotAudited = 8, ///< the export is written but its audit row was refused
        ArchiveBroken = 9,    ///< --verify found a record or audit row that does not agree
        UsageError = 1        ///< an unknown option, or an option without its value
    };

    /**
     * One unattended run with the settings of `settingsFolder` (not written
     * back). Returns the exit status, or -1 when the words ask for no
     * unattended mode and the window is to open.
     */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err,
                   const QString &settingsFolder);

    /**
     * --verify: walks the audit chain and every record of the archive at
     * `database`; Done when all agree, ArchiveBroken naming the first break,
     * ExportFailed when the archive cannot be read. Writes nothing.
     */
    static int verify(const QString &database, QTextStream &out, QTextStream &err);
};

} // namespace lumen::ledgerly
