#include "ledgerly/core/ArchiverModel.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "common/core/RunOrigin.h"
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
#include <type_traits>

namespace lumen::ledgerly {

QString ArchiverModel::defaultDatabasePath()
{
    return lumen::designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\RESULTS.MDB"));
}

ArchiverModel::ArchiverModel()
    : m_modeMarkers(ResultColumns::defaultModeMarkers()), m_rpath(lumen::defaultReportPath()),
      m_apath(defaultDatabasePath())
{
}

namespace {

/** A label's text: the value, or "null" while it is not known. */
template <typename T> QString labelText(const std::optional<T> &value)
{
    if (!value)
        return QStringLiteral("null");
    if constexpr (std::is_same_v<T, QString>)
        return *value;
    else
        return QString::number(*value);
}

} // namespace

QString ArchiverModel::numbRecText() const
{
    return labelText(m_numbRec);
}

QString ArchiverModel::numFieldsText() const
{
    return labelText(m_numFields);
}

QString ArchiverModel::numbIsoText() const
{
    return labelText(m_numbIso);
}

QString ArchiverModel::currentFileText() const
{
    return labelText(m_currentFile);
}

void ArchiverModel::setCounts(int fields, qint64 records)
{
    m_numFields = fields;
    m_numbRec = records;
}

lumen::Operator &ArchiverModel::op() const
{
    return m_operator ? *m_operator : lumen::currentOperator();
}

void ArchiverModel::message(const QString &text) const
{
    if (!m_blindFlag)
        op().messageBox(text, title(), lumen::MessageButtons::Ok);
}

void ArchiverModel::loadSettings(const QString &folder)
{
    ArchivePaths paths{m_apath, m_rpath};
    // Settings that could not be read leave the defaults; the operator hears why.
    for (const QString &problem : ArchiverSettings::load(folder, paths, m_gridColumnWidths))
        message(problem);
    m_apath = paths.databasePath;
    m_rpath = paths.reportPath;
}

bool ArchiverModel::saveSettings(const QString &folder) const
{
    const QStringList problems =
        ArchiverSettings::save(folder, ArchivePaths{m_apath, m_rpath}, m_gridColumnWidths);
    for (const QString &problem : problems)
        message(problem);
    return problems.isEmpty();
}

ArchiverModel::ReadStatus ArchiverModel::readLmnFile()
{
    m_report.nuclideCount = 0;
    m_report.corrCoeffLayout = false;

    m_lastReadNotAReport = false;
    const QString path = lumen::trimBlanks(m_rpath);

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
    m_currentFile = QString();
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

    const ReportReader::Outcome outcome = ReportReader::read(QByteArrayView(bytes), m_report);
    if (outcome.sawIdLine)
        m_currentFile = m_report.sampleId;
    m_numbIso = m_report.nuclideCount;
    m_reportSha256 =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    m_layoutWarning.clear();
    if (!outcome.unrecognisedLine.isEmpty())
        m_layoutWarning =
            QStringLiteral("the report holds a line its layout does not explain, "
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
    m_lastAlreadyArchived = 0;
    m_lastSuperseded.clear();
    if (m_lastReadNotAReport) {
        // Archiving it would store the previous report's header under a new number.
        message(QStringLiteral("The last file read is no whole results report, nothing "
                               "archived [ ") +
                lumen::trimBlanks(m_rpath) + QStringLiteral(" ]"));
        return false;
    }
    if (!m_reportRead) {
        // Nothing read yet: the record would be blank, with an audit row of its own.
        message(QStringLiteral("No report read yet: Read a report before appending it"));
        return false;
    }
    const QString path = lumen::trimBlanks(m_apath);
    std::unique_ptr<ResultsDatabase> db;
    try {
        if (!DatabaseLocation::isServerUrl(path) && !path.isEmpty() && QFileInfo(path).isDir())
            throw lumen::Failure(QStringLiteral("Path is a folder"));
        if (!DatabaseLocation::isServerUrl(path) && !path.isEmpty() &&
            QFileInfo(path).absoluteDir().exists() && NewArchiveFile::createIfMissing(path)) {
            setCounts(ResultsDatabase::freshColumnCount(), 0);
        }
        db = std::make_unique<ResultsDatabase>(path);
        // Also brings an archive of an older layout up to date, and gives an
        // empty file (an append of an older version killed while making it)
        // its tables; on a server "missing" means no table yet.
        if (db->ensureSchema()) {
            setCounts(ResultsDatabase::freshColumnCount(), 0);
        }
        db->checkReadable();
    } catch (const lumen::Failure &failure) {
        message(QStringLiteral("Invalid path or file name [ ") + m_apath + QStringLiteral(" ] <") +
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
        const AppendCounts counts = db->append(newRecord(), m_appendAgain);
        setCounts(counts.fieldCount, counts.recordCount);
        m_lastRecordNumber = counts.record;
        m_lastRecordInWideTable = counts.wideRecord;
        m_lastSuperseded = counts.superseded;
        m_appendButtonRed = true;
        m_lastWideLeftOut = counts.wideLeftOut;
        if (!m_report.moreBlocks.isEmpty())
            m_lastWideLeftOut << QStringLiteral("\"SamData\" did not take %1 nuclide blocks past "
                                                "its limit of %2")
                                     .arg(m_report.moreBlocks.size())
                                     .arg(ReportResult::kMaxBlocks);
        qsizetype moreRows = 0;
        for (int i = 1; i <= m_report.nuclideCount; ++i)
            moreRows += m_report.blocks.at(i).moreRows.size();
        if (moreRows > 0)
            m_lastWideLeftOut << QStringLiteral("\"SamData\" did not take %1 peak rows past its "
                                                "limit of %2 rows a block")
                                     .arg(moreRows)
                                     .arg(NuclideBlock::kMaxRows);
        if (!m_lastWideLeftOut.isEmpty())
            message(QStringLiteral("Record archived, but\n") + m_lastWideLeftOut.join(u'\n') +
                    QStringLiteral("\n(\"SamRecords\" and \"SamResults\" hold the whole report)"));
        if (!m_layoutWarning.isEmpty())
            message(QStringLiteral("Record archived, but ") + m_layoutWarning);
        return true;
    } catch (const AlreadyArchived &already) {
        const QString said = QStringLiteral("The report [ ") + lumen::trimBlanks(m_rpath) +
                             QStringLiteral(" ] is ") + already.description();
        if (m_askBeforeAppendingAgain && !m_blindFlag && !m_appendAgain &&
            op().messageBox(said + QStringLiteral(". Archive it again as a new record?"), title(),
                            lumen::MessageButtons::YesNoDefaultNo) == lumen::MessageAnswer::Yes) {
            m_appendAgain = true;
            const bool appended = appendIt();
            m_appendAgain = false;
            return appended;
        }
        m_lastAlreadyArchived = already.record();
        if (!m_askBeforeAppendingAgain)
            message(said + QStringLiteral(", nothing appended (--again archives it anew)"));
        return false;
    } catch (const lumen::Failure &failure) {
        message(QStringLiteral("Could not append the record to [ ") + m_apath +
                QStringLiteral(" ] <") + failure.description() + u'>');
        return false;
    }
}

NewRecord ArchiverModel::newRecord() const
{
    NewRecord record;
    record.fileName = m_report.spectrumFile;
    record.idText = m_report.sampleId;
    record.dateAndTime = m_report.reportDate;
    record.sampleDate = m_report.activityDate;
    record.countingTime = m_report.reportLiveTime;
    record.deadTime = m_report.reportDeadTime;
    record.mode = ResultColumns::modeName(m_appendMode);
    record.sha256 = m_reportSha256;
    // Set by the script player for the programs it starts: which run, which
    // loop pass and which script line archived the record.
    const lumen::RunOrigin origin = lumen::RunOrigin::fromEnvironment();
    record.run = origin.run;
    record.runPass = origin.pass;
    record.runLine = origin.line;
    const auto addBlock = [&](const NuclideBlock &block, bool wideBlock) {
        const QString nuclide = lumen::trimBlanks(block.nuclideName);
        int j = 0;
        const auto addRow = [&](const PeakRow &row, bool wideRow) {
            ++j;
            record.values.append(
                {ResultColumns::resultColumnName(block, row, j, m_report.corrCoeffLayout,
                                                 m_appendMode, m_modeMarkers),
                 ResultColumns::modeValue(row, m_appendMode), nuclide, j, row.energy,
                 wideBlock && wideRow});
        };
        for (int r = 1; r <= block.rowCount; ++r)
            addRow(block.rows.at(r), true);
        for (const PeakRow &row : block.moreRows)
            addRow(row, false);
    };
    for (int i = 1; i <= m_report.nuclideCount; ++i)
        addBlock(m_report.blocks.at(i), true);
    for (const NuclideBlock &block : m_report.moreBlocks)
        addBlock(block, false);
    return record;
}

bool ArchiverModel::createDb(QString *reason)
{
    if (!m_blindFlag &&
        op().messageBox(QStringLiteral("Delete ALL data and create a new DataBase, are you SURE ?"),
                        title(),
                        lumen::MessageButtons::YesNoDefaultNo) != lumen::MessageAnswer::Yes)
        return false;
    const QString path = lumen::trimBlanks(m_apath);
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
    setCounts(ResultsDatabase::freshColumnCount(), 0);
    return true;
}

void ArchiverModel::selectOption(int button)
{
    if (button >= 1 && button <= 4)
        m_appendMode = button - 1;
}

bool ArchiverModel::checkViewerPath()
{
    const QString path = lumen::trimBlanks(m_apath);
    if (DatabaseLocation::isServerUrl(path) || (!path.isEmpty() && QFileInfo(path).isFile()))
        return true;
    message(QStringLiteral("Invalid path or file name [ ") + path + QStringLiteral(" ] "));
    return false;
}

ArchiverModel::ExportResult ArchiverModel::exportCsv(const QString &path, ExportKind kind,
                                                     bool allRecords) const
{
    const QString database = lumen::trimBlanks(m_apath);
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
    const QString path = lumen::trimBlanks(m_rpath);
    QString error;
    if (!path.isEmpty() && QFile::exists(path) && lumen::openInTextEditor(path, &error))
        return true;
    message(QStringLiteral("Invalid path or file name [ ") + m_rpath + QStringLiteral(" ]"));
    return false;
}

} // namespace lumen::ledgerly
