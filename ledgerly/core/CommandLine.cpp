#include "ledgerly/core/CommandLine.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Paths.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/DatabaseLocation.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/StreamOperator.h"

#include <QFileInfo>

namespace lumen::ledgerly {

CommandLine::Choice CommandLine::parse(const QStringList &args)
{
    const QString words = lumen::trimBlanks(args.join(u' ')).toUpper();
    Choice choice;
    if (words.contains(u"APPEND")) {
        choice.command = Command::Append;
        choice.appendMode = ActivityMode;
        if (words.contains(u"NET"))
            choice.appendMode = NetMode;
        if (words.contains(u"GROSS"))
            choice.appendMode = GrossMode;
        if (words.contains(u"BKG"))
            choice.appendMode = BackgroundMode;
    } else if (words.contains(u"RESET")) {
        choice.command = Command::Reset;
    } else if (words.contains(u"NET")) {
        choice = {Command::Append, NetMode};
    } else if (words.contains(u"GROSS")) {
        choice = {Command::Append, GrossMode};
    } else if (words.contains(u"BKG")) {
        choice = {Command::Append, BackgroundMode};
    }
    return choice;
}

CommandLine::Options CommandLine::parseOptions(const QStringList &args)
{
    Options options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == u"--export") {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                options.error = QStringLiteral("--export needs the path of the CSV file");
                return options;
            }
            options.exportPath = args.at(++i);
        } else if (arg.startsWith(u"--export=")) {
            options.exportPath = arg.mid(9);
        } else if (arg == u"--long") {
            options.longForm = true;
        } else if (arg == u"--all") {
            options.allRecords = true;
        } else if (arg == u"--again") {
            options.again = true;
        } else if (arg == u"--verify") {
            options.verify = true;
        } else if (arg == u"--audit") {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                options.error = QStringLiteral("--audit needs the path of the CSV file");
                return options;
            }
            options.auditPath = args.at(++i);
        } else if (arg.startsWith(u"--audit=")) {
            options.auditPath = arg.mid(8);
        } else if (arg.startsWith(u"--")) {
            options.error = QStringLiteral("Unknown option: ") + arg;
            return options;
        } else {
            options.words << arg;
        }
    }
    if (options.longForm && options.exportPath.isEmpty())
        options.error = QStringLiteral("--long goes with --export FILE");
    else if (options.allRecords && !options.longForm)
        options.error = QStringLiteral("--all goes with --export FILE --long");
    else if (int(!options.exportPath.isEmpty()) + int(!options.auditPath.isEmpty()) +
                 int(options.verify) >
             1)
        options.error = QStringLiteral("--export, --audit and --verify are given one at a time");
    return options;
}

bool CommandLine::isUnattended(const QStringList &args)
{
    const Options options = parseOptions(args);
    return !options.error.isEmpty() || !options.exportPath.isEmpty() ||
           !options.auditPath.isEmpty() || options.again || options.verify ||
           parse(options.words).command != Command::None;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: Ledgerly [APPEND | NET | GROSS | BKG] [--again]\n"
        "       Ledgerly RESET\n"
        "       Ledgerly --export FILE.csv [--long [--all]]\n"
        "       Ledgerly --audit FILE.csv\n"
        "       Ledgerly --verify\n"
        "Reads the host's results report and archives it as one record of the results\n"
        "database: the wide table \"SamData\" (one column per nuclide line and mode) and\n"
        "the long tables \"SamRecords\" (one row per report) and \"SamResults\" (one row\n"
        "per value), which take every value \"SamData\" cannot (past its 100 nuclide\n"
        "blocks, 25 rows a block, its column limit or record 32767). \"SamAudit\" keeps\n"
        "who changed what and when (time with UTC offset, user, database user,\n"
        "machine, action, record, column, old and new value) for every append, grid\n"
        "edit and delete (with every value of the deleted record), reset, export and\n"
        "superseded record; RESET never empties it. Each audit row is chained by hash\n"
        "to the one before and to its record's values; on a server the trail takes\n"
        "new rows only.\n"
        "Only a whole report is archived: one with a report's sections (ID:, File: ...\n"
        "Date:, LT: ... DT:, Activities reported as of), its closing PEAK SEARCH\n"
        "RESULTS section and a final line end, that keeps its size and time while it\n"
        "is read. Each report (its bytes, SHA-256) is archived once per mode. Record\n"
        "numbers are never given twice, across RESET too.\n"
        "Command words (any letter case, anywhere in the arguments):\n"
        "  APPEND       read the report, append its activities, end\n"
        "  NET, GROSS   the same with net or gross counts (also after APPEND)\n"
        "  BKG          the same with background counts (gross - net)\n"
        "  RESET        replace the results with empty tables (the audit trail stays), end\n"
        "Options (examined before the words, so a path holding NET is never a word):\n"
        "  --again            with APPEND: archive a report that is archived already\n"
        "  --export FILE.csv  write \"SamData\" as CSV (UTF-8, RFC 4180, text fields\n"
        "                     without their fixed-width blanks; a text beginning with\n"
        "                     = + - @, a tab or CR that is no number gets a leading '),\n"
        "                     naming the audit chain head it was made from, end\n"
        "  --long             with --export: one row per \"SamResults\" value with its\n"
        "                     record's fields, current records only\n"
        "  --all              with --export --long: superseded records too\n"
        "  --audit FILE.csv   write \"SamAudit\" as CSV, end\n"
        "  --verify           walk the audit chain and every record, say what it\n"
        "                     covers and name the first break; writes nothing\n"
        "Exports and --verify need no write access (a read-only file, a SELECT-only\n"
        "role). Without a word or option the window opens (a display is needed).\n"
        "Paths come from ARC&FILE.DAT in the program directory; the database path may\n"
        "also be a server: postgresql://user@host:port/dbname (password from PGPASSWORD\n"
        "or ~/.pgpass); the roles and grants for stations are in docs/ledgerly.md.\n"
        "Messages go to stderr.\n"
        "Environment:\n"
        "  LUMEN_PROGRAM_DIR  the program directory (settings files) instead of the\n"
        "                     executable's folder\n"
        "  LUMEN_ROOT         the Lumen folder for the default paths (default ~/Lumen)\n"
        "  LUMEN_RUN, LUMEN_RUN_PASS, LUMEN_RUN_LINE  set by Sequa for the programs a\n"
        "                     script starts: stored with the record (\"Run\", \"Run\n"
        "                     Pass\", \"Run Line\"); an append of the same run, pass,\n"
        "                     line and mode as an earlier record (a pass played again\n"
        "                     by a resume) supersedes that record\n"
        "Exit status: 0 done (an append the wide table could not take whole is done:\n"
        "the long tables hold it, stderr says what was left out; --verify: all agree),\n"
        "1 usage error or no display, 2 report not opened or not a regular file, 3 no\n"
        "report (missing, empty, not a results report, or not complete: cut short or\n"
        "still being written; nothing appended) or a report archived with a warning\n"
        "that a peak table holds a line of unknown layout (named on stderr), 4 append\n"
        "failed (a full disk says so), 5 reset failed (with the reason), 6 export\n"
        "failed or the archive could not be read (no file is left), 7 already archived\n"
        "as record N (nothing appended; --again archives it anew), 8 export written\n"
        "but its audit row could not be written (said on stderr), 9 --verify found a\n"
        "record, table or audit row that does not agree (the first break on stderr).\n");
}

int CommandLine::verify(const QString &database, QTextStream &out, QTextStream &err)
{
    AuditChain::Verdict verdict;
    try {
        // Only an archive that is there: the engine would make an empty file.
        if (!DatabaseLocation::isServerUrl(database) && !QFileInfo(database).isFile())
            throw lumen::Failure(QStringLiteral("No database there"));
        ResultsDatabase db(database);
        db.checkReadable();
        verdict = db.verify();
    } catch (const lumen::Failure &failure) {
        err << "Could not verify [ " << database << " ] <" << failure.description() << ">"
            << Qt::endl;
        return ExportFailed;
    }
    if (verdict.firstChainedEntry == 0) {
        out << "The audit trail has no chained entry yet (" << verdict.earlierEntries
            << " earlier entries): the chain starts with the next change" << Qt::endl;
    } else {
        out << "The chain covers audit entries " << verdict.firstChainedEntry << " to "
            << verdict.lastEntry;
        if (verdict.earlierEntries > 0)
            out << " (" << verdict.earlierEntries << " earlier entries predate it)";
        out << Qt::endl;
        if (verdict.firstCoveredRecord > 0)
            out << "Records from " << verdict.firstCoveredRecord << " on are covered";
        else
            out << "No record has been appended since the chain started";
        out << "; " << verdict.recordsChecked << " records checked, " << verdict.recordsNotCovered
            << " archived before the chain started" << Qt::endl;
    }
    if (!verdict.firstBreak.isEmpty()) {
        err << "Ledgerly --verify: the archive does not agree with its audit trail: "
            << verdict.firstBreak << Qt::endl;
        return ArchiveBroken;
    }
    if (verdict.head.entry > 0)
        out << ArchiverModel::headText(verdict.head) << Qt::endl;
    out << "All agree" << Qt::endl;
    return Done;
}

int CommandLine::run(const QStringList &args, QTextStream &out, QTextStream &err,
                     const QString &settingsFolder)
{
    // Options first: a path such as /data/NET/out.csv must not be taken for a word.
    const Options options = parseOptions(args);
    if (!options.error.isEmpty()) {
        err << "Ledgerly: " << options.error << " (see --help)" << Qt::endl;
        return UsageError;
    }
    const Choice choice = parse(options.words);
    const bool exporting = !options.exportPath.isEmpty() || !options.auditPath.isEmpty();
    if ((exporting || options.verify) && choice.command != Command::None) {
        err << "Ledgerly: --export, --audit and --verify are not combined with a command word "
               "(see --help)"
            << Qt::endl;
        return UsageError;
    }
    if (options.again && choice.command != Command::Append) {
        err << "Ledgerly: --again goes with APPEND, NET, GROSS or BKG (see --help)" << Qt::endl;
        return UsageError;
    }
    if (!exporting && !options.verify && choice.command == Command::None)
        return -1;

    StreamOperator messages(err);
    ArchiverModel model;
    model.setOperator(&messages);
    model.loadSettings(settingsFolder);

    if (options.verify)
        return verify(lumen::trimBlanks(model.apath()), out, err);

    if (exporting) {
        using Kind = ArchiverModel::ExportKind;
        const Kind kind = !options.auditPath.isEmpty() ? Kind::Audit
                          : options.longForm           ? Kind::Long
                                                       : Kind::Wide;
        const QString path = kind == Kind::Audit ? options.auditPath : options.exportPath;
        const ArchiverModel::ExportResult result = model.exportCsv(path, kind, options.allRecords);
        if (result.rows < 0) {
            err << result.error << Qt::endl;
            return ExportFailed;
        }
        out << "Exported " << result.rows
            << (kind == Kind::Long    ? " values"
                : kind == Kind::Audit ? " audit entries"
                                      : " records")
            << " to " << path << " (" << ArchiverModel::headText(result.head) << ")" << Qt::endl;
        if (!result.auditError.isEmpty()) {
            err << result.auditError << Qt::endl;
            return ExportNotAudited;
        }
        return Done;
    }

    if (choice.command == Command::Reset) {
        model.setBlindFlag(true);
        QString reason;
        if (!model.createDb(&reason)) {
            err << "Could not create database [ " << lumen::trimBlanks(model.apath())
                << " ]: " << reason << Qt::endl;
            return ResetFailed;
        }
        out << "Reset " << lumen::trimBlanks(model.apath()) << Qt::endl;
        return Done;
    }

    model.setAppendMode(choice.appendMode);
    switch (model.readLmnFile()) {
    case ArchiverModel::ReadStatus::Failed:
        return ReportNotRead;
    case ArchiverModel::ReadStatus::Empty:
        // An unattended run that found no report must not archive an empty
        // record and call it done: the calling script has to hear of it.
        err << "No report to archive [ " << lumen::trimBlanks(model.rpath()) << " ]" << Qt::endl;
        return ReportEmpty;
    case ArchiverModel::ReadStatus::NotAReport:
    case ArchiverModel::ReadStatus::Incomplete:
        return ReportEmpty; // the reader has said why on stderr
    case ArchiverModel::ReadStatus::Read:
        break;
    }
    model.setAppendAgain(options.again);
    if (!model.appendIt())
        return model.lastAlreadyArchived() > 0 ? AlreadyArchived : AppendFailed;
    out << "Record " << model.lastRecordNumber() << " appended to "
        << lumen::trimBlanks(model.apath());
    if (model.lastRecordInWideTable())
        out << " (" << model.numFieldsText() << " fields)";
    else
        out << " (\"SamRecords\" and \"SamResults\" only: \"SamData\" is full)";
    out << Qt::endl;
    for (const qint64 earlier : std::as_const(model.lastSuperseded()))
        out << "Record " << earlier << " (same run, pass and line) is superseded" << Qt::endl;
    if (!model.layoutWarning().isEmpty())
        return ReportEmpty; // the warning is on stderr
    return Done;
}

} // namespace lumen::ledgerly
