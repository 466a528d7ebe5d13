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

int CommandLine::run(const QStringList &args, QTextStream &out, QTextStream &err,
                     const QString &settingsFolder)
{
    const Choice choice = parse(args);
    if (choice.command == Command::None)
        return -1;

    StreamOperator messages(err);
    ArchiverModel model;
    model.setOperator(&messages);
    model.loadSettings(settingsFolder);

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
