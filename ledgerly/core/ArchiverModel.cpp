#include "ledgerly/core/ArchiverModel.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "ledgerly/core/CsvExport.h"
#include "ledgerly/core/DatabaseLocation.h"
#include "ledgerly/core/NewArchiveFile.h"
#include "ledgerly/core/ReportCompleteness.h"
#include "ledgerly/core/ReportReader.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/ResultsDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace lumen::ledgerly {

QString ArchiverModel::defaultDatabasePath()
{
    return lumen::designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\RESULTS.MDB"));
}

ArchiverModel::ArchiverModel()
    : modeMarkers(ResultColumns::defaultModeMarkers()), rpath(lumen::defaultReportPath()),
      apath(defaultDatabasePath())
{
}

lumen::Operator &ArchiverModel::op() const
{
    return m_operator ? *m_operator : lumen::currentOperator();
}

void ArchiverModel::message(const QString &text) const
{
    if (!blindFlag)
        op().messageBox(text, title(), lumen::MessageButtons::Ok);
}

void ArchiverModel::loadSettings(const QString &folder)
{
    ArchivePaths paths{apath, rpath};
    // Settings that could not be read leave the defaults; the operator hears why.
    for (const QString &problem : ArchiverSettings::load(folder, paths, gridColumnWidths))
        message(problem);
    apath = paths.databasePath;
    rpath = paths.reportPath;
}

bool ArchiverModel::saveSettings(const QString &folder) const
{
    const QStringList problems =
        ArchiverSettings::save(folder, ArchivePaths{apath, rpath}, gridColumnWidths);
    for (const QString &problem : problems)
        message(problem);
    return problems.isEmpty();
}

ArchiverModel::ReadStatus ArchiverModel::readLmnFile()
{
    report.nuclideCount = 0;
    report.corrCoeffLayout = false;

    m_lastReadNotAReport = false;
    const QString path = lumen::trimBlanks(rpath);

    // Opening a missing report leaves an empty file in its place, as the
    // archiver always has; an existing report is only read, so a
    // write-protected one can still be archived. A device, FIFO, folder or
    // oversized file is refused without blocking.
    QByteArray bytes;
    QString description;
    const QFileInfo info(path);
    if (path.isEmpty()) {
        description = QStringLiteral("Bad file name or number");
    } else if (!info.exists() && !info.isSymLink()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            description = file.errorString();
    } else {
        try {
            bytes = lumen::outsidefile::read(path, lumen::outsidefile::kReportCap);
        } catch (const lumen::Failure &failure) {
            description = failure.description();
        }
    }
    currentFile.clear();
    if (!description.isEmpty()) {
        message(QStringLiteral("Invalid path or file name [ ") + path + QStringLiteral(" ] <") +
                description + u'>');
        return ReadStatus::Failed;
    }
    if (bytes.isEmpty())
        return ReadStatus::Empty;
    // A report the analysis is still writing is read again once it is whole.
    qint64 settledSize = 0;
    if (!ReportCompleteness::hasSettled(path, &settledSize) || settledSize != bytes.size()) {
        m_lastReadNotAReport = true;
        message(incompleteMessage(path, QStringLiteral("it is still being written: its size or "
                                                       "time changed while it was read")));
        return ReadStatus::Incomplete;
    }

    const ReportReader::Outcome outcome = ReportReader::read(QByteArrayView(bytes), report);
    if (outcome.sawIdLine)
        currentFile = report.sampleId;
    numbIso = QString::number(report.nuclideCount);
    reportSha256 =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    layoutWarning.clear();
    if (!outcome.unrecognisedLine.isEmpty())
        layoutWarning = QStringLiteral("the report holds a line its layout does not explain, "
                                       "archived all the same (has the host's report changed?): ") +
                        outcome.unrecognisedLine.trimmed();
    if (!outcome.hasReportStructure) {
        m_lastReadNotAReport = true;
        message(notAReportMessage(path));
        return ReadStatus::NotAReport;
    }
    if (const QString missing = ReportCompleteness::missingFrom(bytes); !missing.isEmpty()) {
        m_lastReadNotAReport = true;
        message(incompleteMessage(path, missing));
        return ReadStatus::Incomplete;
    }
    m_reportRead = true;
    return ReadStatus::Read;
}

QString ArchiverModel::incompleteMessage(const QString &path, const QString &missing)
{
    return QStringLiteral("The report [ ") + path + QStringLiteral(" ] is not complete (") +
           missing + QStringLiteral("), nothing archived");
}

QString ArchiverModel::notAReportMessage(const QString &path)
{
    return QStringLiteral("Not a results report (it lacks the ID:, File: ... Date:, LT: ... DT: "
                          "or Activities reported as of line), nothing archived [ ") +
           path + QStringLiteral(" ]");
}

bool ArchiverModel::appendIt()
{
    lastAlreadyArchived = 0;
    lastSuperseded.clear();
    if (m_lastReadNotAReport) {
        // Archiving it would store the previous report's header under a new number.
        message(QStringLiteral("The last file read is no whole results report, nothing "
                               "archived [ ") +
                lumen::trimBlanks(rpath) + QStringLiteral(" ]"));
        return false;
    }
    if (!m_reportRead) {
        // Nothing read yet: the record would be blank, with an audit row of its own.
        message(QStringLiteral("No report read yet: Read a report before appending it"));
        return false;
    }
    const QString path = lumen::trimBlanks(apath);
    std::unique_ptr<ResultsDatabase> db;
    try {
        if (!DatabaseLocation::isServerUrl(path) && !path.isEmpty() && QFileInfo(path).isDir())
            throw lumen::Failure(QStringLiteral("Path is a folder"));
        if (!DatabaseLocation::isServerUrl(path) && !path.isEmpty() &&
            QFileInfo(path).absoluteDir().exists() && NewArchiveFile::createIfMissing(path)) {
            numFields = QString::number(ResultsDatabase::freshColumnCount());
            numbRec = QStringLiteral("0");
        }
        db = std::make_unique<ResultsDatabase>(path);
        // Also brings an archive of an older layout up to date, and gives an
        // empty file (an append of an older version killed while making it)
        // its tables; on a server "missing" means no table yet.
        if (db->ensureSchema()) {
            numFields = QString::number(ResultsDatabase::freshColumnCount());
            numbRec = QStringLiteral("0");
        }
        db->checkReadable();
    } catch (const lumen::Failure &failure) {
        message(QStringLiteral("Invalid path or file name [ ") + apath + QStringLiteral(" ] <") +
                failure.description() + u'>');
        return false;
    }
    // A cheap look at the audit chain's end; the record is archived all the same.
    try {
        if (const QString problem = db->auditTailProblem(); !problem.isEmpty())
            message(QStringLiteral("Warning: ") + problem +
                    QStringLiteral(" (Ledgerly --verify checks the whole archive)"));
    } catch (const lumen::Failure &) {
    }

    try {
        const AppendCounts counts = db->append(newRecord(), appendAgain);
        numFields = QString::number(counts.fieldCount);
        numbRec = QString::number(counts.recordCount);
        lastRecordNumber = counts.record;
        lastRecordInWideTable = counts.wideRecord;
        lastSuperseded = counts.superseded;
        appendButtonRed = true;
        lastWideLeftOut = counts.wideLeftOut;
        if (!report.moreBlocks.isEmpty())
            lastWideLeftOut << QStringLiteral("\"SamData\" did not take %1 nuclide blocks past "
                                              "its limit of %2")
                                   .arg(report.moreBlocks.size())
                                   .arg(ReportResult::kMaxBlocks);
        qsizetype moreRows = 0;
        for (int i = 1; i <= report.nuclideCount; ++i)
            moreRows += report.blocks.at(i).moreRows.size();
        if (moreRows > 0)
            lastWideLeftOut << QStringLiteral("\"SamData\" did not take %1 peak rows past its "
                                              "limit of %2 rows a block")
                                   .arg(moreRows)
                                   .arg(NuclideBlock::kMaxRows);
        if (!lastWideLeftOut.isEmpty())
            message(QStringLiteral("Record archived, but\n") + lastWideLeftOut.join(u'\n') +
                    QStringLiteral("\n(\"SamRecords\" and \"SamResults\" hold the whole report)"));
        if (!layoutWarning.isEmpty())
            message(QStringLiteral("Record archived, but ") + layoutWarning);
        return true;
    } catch (const AlreadyArchived &already) {
        const QString said = QStringLiteral("The report [ ") + lumen::trimBlanks(rpath) +
                             QStringLiteral(" ] is ") + already.description();
        if (askBeforeAppendingAgain && !blindFlag && !appendAgain &&
            op().messageBox(said + QStringLiteral(". Archive it again as a new record?"), title(),
                            lumen::MessageButtons::YesNoDefaultNo) == lumen::MessageAnswer::Yes) {
            appendAgain = true;
            const bool appended = appendIt();
            appendAgain = false;
            return appended;
        }
        lastAlreadyArchived = already.record();
        if (!askBeforeAppendingAgain)
            message(said + QStringLiteral(", nothing appended (--again archives it anew)"));
        return false;
    } catch (const lumen::Failure &failure) {
        message(QStringLiteral("Could not append the record to [ ") + apath +
                QStringLiteral(" ] <") + failure.description() + u'>');
        return false;
    }
}

NewRecord ArchiverModel::newRecord() const
{
    NewRecord record;
    record.fileName = report.spectrumFile;
    record.idText = report.sampleId;
    record.dateAndTime = report.reportDate;
    record.sampleDate = report.activityDate;
    record.countingTime = report.reportLiveTime;
    record.deadTime = report.reportDeadTime;
    record.mode = ResultColumns::modeName(appendMode);
    record.sha256 = reportSha256;
    // Set by the script player for the programs it starts: which run, which
    // loop pass and which script line archived the record.
    record.run = qEnvironmentVariable("LUMEN_RUN");
    record.runPass = qEnvironmentVariable("LUMEN_RUN_PASS");
    bool lineKnown = false;
    const int line = qEnvironmentVariable("LUMEN_RUN_LINE").toInt(&lineKnown);
    record.runLine = lineKnown && line > 0 ? line : 0;
    const auto addBlock = [&](const NuclideBlock &block, bool wideBlock) {
        const QString nuclide = lumen::trimBlanks(block.nuclideName);
        int j = 0;
        const auto addRow = [&](const PeakRow &row, bool wideRow) {
            ++j;
            record.values.append(
                {ResultColumns::resultColumnName(block, row, j, report.corrCoeffLayout, appendMode,
                                                 modeMarkers),
                 ResultColumns::modeValue(row, appendMode), nuclide, j, row.energy,
                 wideBlock && wideRow});
        };
        for (int r = 1; r <= block.rowCount; ++r)
            addRow(block.rows.at(r), true);
        for (const PeakRow &row : block.moreRows)
            addRow(row, false);
    };
    for (int i = 1; i <= report.nuclideCount; ++i)
        addBlock(report.blocks.at(i), true);
    for (const NuclideBlock &block : report.moreBlocks)
        addBlock(block, false);
    return record;
}

bool ArchiverModel::createDb(QString *reason)
{
    if (!blindFlag &&
        op().messageBox(QStringLiteral("Delete ALL data and create a new DataBase, are you SURE ?"),
                        title(),
                        lumen::MessageButtons::YesNoDefaultNo) != lumen::MessageAnswer::Yes)
        return false;
    const QString path = lumen::trimBlanks(apath);
    try {
        if (path.isEmpty())
            throw lumen::Failure(QStringLiteral("Bad file name or number"));
        ResultsDatabase::create(path);
    } catch (const lumen::Failure &failure) {
        // A Lumen folder that could not be made is the reason, not the open's.
        const QString unmade = lumen::folderProblem(path);
        const QString why = unmade.isEmpty() ? failure.description() : unmade;
        if (reason)
            *reason = why;
        message(QStringLiteral("Could not create database: ") + why);
        return false;
    }
    numFields = QString::number(ResultsDatabase::freshColumnCount());
    numbRec = QStringLiteral("0");
    return true;
}

void ArchiverModel::selectOption(int button)
{
    if (button >= 1 && button <= 4)
        appendMode = button - 1;
}

bool ArchiverModel::checkViewerPath()
{
    const QString path = lumen::trimBlanks(apath);
    if (DatabaseLocation::isServerUrl(path) || (!path.isEmpty() && QFileInfo(path).isFile()))
        return true;
    message(QStringLiteral("Invalid path or file name [ ") + path + QStringLiteral(" ] "));
    return false;
}

ArchiverModel::ExportResult ArchiverModel::exportCsv(const QString &path, ExportKind kind,
                                                     bool allRecords) const
{
    const QString database = lumen::trimBlanks(apath);
    ExportResult result;
    std::unique_ptr<ResultsDatabase> db;
    QString what;
    try {
        // Only an archive that is there: the engine would make an empty file.
        if (!DatabaseLocation::isServerUrl(database) && !QFileInfo(database).isFile())
            throw lumen::Failure(QStringLiteral("No database there"));
        db = std::make_unique<ResultsDatabase>(database);
        try {
            db->ensureSchema();
        } catch (const lumen::Failure &) {
            // A read-only archive of an older layout is read as it stands.
        }
        db->checkReadable();
        result.head = db->auditHead();
        switch (kind) {
        case ExportKind::Wide:
            result.rows = CsvExport::writeWide(*db, path);
            what = QStringLiteral("SamData");
            break;
        case ExportKind::Long:
            result.rows = CsvExport::writeLong(*db, path, allRecords);
            what = allRecords ? QStringLiteral("long, all") : QStringLiteral("long");
            break;
        case ExportKind::Audit:
            result.rows = CsvExport::writeAudit(*db, path);
            what = QStringLiteral("SamAudit");
            break;
        }
    } catch (const lumen::Failure &failure) {
        result.rows = -1;
        result.error = QStringLiteral("Could not export [ ") + database +
                       QStringLiteral(" ] to [ ") + path + QStringLiteral(" ] <") +
                       failure.description() + u'>';
        return result;
    }
    try {
        // The file is written: an archive that takes no writing (a read-only
        // file, a role that may only read) still exports, and says it could
        // not record the export.
        db->addAuditEntry({QStringLiteral("export"), QVariant(), what, headText(result.head),
                           QFileInfo(path).absoluteFilePath()});
    } catch (const lumen::Failure &failure) {
        result.auditError = QStringLiteral("The export to [ ") + path +
                            QStringLiteral(" ] is written, but its audit entry could not be "
                                           "written <") +
                            failure.description() + u'>';
    }
    return result;
}

QString ArchiverModel::headText(const AuditChain::Head &head)
{
    return head.entry > 0
               ? QStringLiteral("audit chain head: entry %1, %2").arg(head.entry).arg(head.hash)
               : QStringLiteral("audit chain head: none yet");
}

bool ArchiverModel::viewResultsText()
{
    const QString path = lumen::trimBlanks(rpath);
    QString error;
    if (!path.isEmpty() && QFile::exists(path) && lumen::openInTextEditor(path, &error))
        return true;
    message(QStringLiteral("Invalid path or file name [ ") + rpath + QStringLiteral(" ]"));
    return false;
}

} // namespace lumen::ledgerly
