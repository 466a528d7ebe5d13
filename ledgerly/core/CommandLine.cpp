#include "ledgerly/core/CommandLine.h"

#include "common/core/FixedText.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/StreamOperator.h"

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
        } else if (arg.startsWith(u"--")) {
            options.error = QStringLiteral("Unknown option: ") + arg;
            return options;
        } else {
            options.words << arg;
        }
    }
    if (options.longForm && options.exportPath.isEmpty())
        options.error = QStringLiteral("--long goes with --export FILE");
    return options;
}

bool CommandLine::isUnattended(const QStringList &args)
{
    const Options options = parseOptions(args);
    return !options.error.isEmpty() || !options.exportPath.isEmpty() ||
           parse(options.words).command != Command::None;
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
    if (!options.exportPath.isEmpty() && choice.command != Command::None) {
        err << "Ledgerly: --export is not combined with a command word (see --help)" << Qt::endl;
        return UsageError;
    }
    if (options.exportPath.isEmpty() && choice.command == Command::None)
        return -1;

    StreamOperator messages(err);
    ArchiverModel model;
    model.setOperator(&messages);
    model.loadSettings(settingsFolder);

    if (!options.exportPath.isEmpty()) {
        QString error;
        const qint64 rows = model.exportCsv(options.exportPath, options.longForm, &error);
        if (rows < 0) {
            err << error << Qt::endl;
            return ExportFailed;
        }
        out << "Exported " << rows << (options.longForm ? " values" : " records") << " to "
            << options.exportPath << Qt::endl;
        return Done;
    }

    if (choice.command == Command::Reset) {
        model.blindFlag = true;
        if (!model.createDb()) {
            err << "Could not create database [ " << lumen::trimBlanks(model.apath) << " ]"
                << Qt::endl;
            return ResetFailed;
        }
        out << "Reset " << lumen::trimBlanks(model.apath) << Qt::endl;
        return Done;
    }

    model.appendMode = choice.appendMode;
    switch (model.readLmnFile()) {
    case ArchiverModel::ReadStatus::Failed:
        return ReportNotRead;
    case ArchiverModel::ReadStatus::Empty:
        // An unattended run that found no report must not archive an empty
        // record and call it done: the calling script has to hear of it.
        err << "No report to archive [ " << lumen::trimBlanks(model.rpath) << " ]" << Qt::endl;
        return ReportEmpty;
    case ArchiverModel::ReadStatus::NotAReport:
        return ReportEmpty; // the reader has said why on stderr
    case ArchiverModel::ReadStatus::Read:
        break;
    }
    if (!model.appendIt())
        return AppendFailed;
    out << "Record " << model.numbRec << " appended to " << lumen::trimBlanks(model.apath) << " ("
        << model.numFields << " fields)" << Qt::endl;
    return Done;
}

} // namespace lumen::ledgerly
