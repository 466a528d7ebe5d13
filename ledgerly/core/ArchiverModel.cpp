#include "ledgerly/core/ArchiverModel.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "common/core/OutsideFile.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"
#include "ledgerly/core/CsvExport.h"
#include "ledgerly/core/DatabaseLocation.h"
#include "ledgerly/core/ReportReader.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/ResultsDatabase.h"

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
    return ArchiverSettings::save(folder, ArchivePaths{apath, rpath}, gridColumnWidths);
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

    const ReportReader::Outcome outcome = ReportReader::read(QByteArrayView(bytes), report);
    if (outcome.sawIdLine)
        currentFile = report.sampleId;
    numbIso = QString::number(report.nuclideCount);
    if (!outcome.tookAnyLine) {
        m_lastReadNotAReport = true;
        message(notAReportMessage(path));
        return ReadStatus::NotAReport;
    }
    return ReadStatus::Read;
}

QString ArchiverModel::notAReportMessage(const QString &path)
{
    return QStringLiteral("Not a results report (no ID:, File:, Date: or LT: line and no nuclide "
                          "block), nothing archived [ ") +
           path + QStringLiteral(" ]");
}

bool ArchiverModel::appendIt()
{
    if (m_lastReadNotAReport) {
        // Archiving it would store the previous report's header under a new number.
        message(notAReportMessage(lumen::trimBlanks(rpath)));
        return false;
    }
    const QString path = lumen::trimBlanks(apath);
    // An empty file is one another append has just begun to make: its table
    // is made here too (or found made) rather than reported missing.
    const QFileInfo info(path);
    // On a server "missing" means no table yet: looked for on every append.
    const bool wasMissing =
        DatabaseLocation::isServerUrl(path) ||
        (!path.isEmpty() && (!info.exists() || (info.isFile() && info.size() == 0)));
    std::unique_ptr<ResultsDatabase> db;
    try {
        db = std::make_unique<ResultsDatabase>(path);
        if (wasMissing) {
            // Made in place rather than through the reset: another process may
            // be making the same file this moment, and a reset would delete its record.
            if (db->ensureSchema()) {
                numFields = QString::number(ResultsDatabase::fixedColumns().size());
                numbRec = QStringLiteral("0");
            }
        }
        db->checkReadable();
    } catch (const lumen::Failure &failure) {
        message(QStringLiteral("Invalid path or file name [ ") + apath + QStringLiteral(" ] <") +
                failure.description() + u'>');
        return false;
    }

    NewRecord record;
    record.fileName = report.spectrumFile;
    record.idText = report.sampleId;
    record.dateAndTime = report.reportDate;
    record.sampleDate = report.activityDate;
    record.countingTime = report.reportLiveTime;
    record.deadTime = report.reportDeadTime;
    record.mode = ResultColumns::modeName(appendMode);
    for (int i = 1; i <= report.nuclideCount; ++i) {
        const NuclideBlock &block = report.blocks.at(i);
        for (int j = 1; j <= block.rowCount; ++j) {
            record.values.append(
                {ResultColumns::resultColumnName(report, i, j, appendMode, modeMarkers),
                 ResultColumns::modeValue(block.rows.at(j), appendMode),
                 lumen::trimBlanks(block.nuclideName), j, block.rows.at(j).energy});
        }
    }

    try {
        const AppendCounts counts = db->append(record);
        numFields = QString::number(counts.fieldCount);
        numbRec = QString::number(counts.recordCount);
        appendButtonRed = true;
        lastWideLeftOut = counts.wideLeftOut;
        if (!counts.wideLeftOut.isEmpty())
            message(QStringLiteral("Record archived; ") + counts.wideLeftOut.join(u'\n'));
        return true;
    } catch (const lumen::Failure &failure) {
        message(QStringLiteral("Could not append the record to [ ") + apath +
                QStringLiteral(" ] <") + failure.description() + u'>');
        return false;
    }
}

bool ArchiverModel::createDb()
{
    if (!blindFlag &&
        op().messageBox(QStringLiteral("Delete ALL data and create a new DataBase, are you SURE ?"),
                        title(), lumen::MessageButtons::YesNo) != lumen::MessageAnswer::Yes)
        return false;
    const QString path = lumen::trimBlanks(apath);
    try {
        if (path.isEmpty())
            throw lumen::Failure(QStringLiteral("Bad file name or number"));
        ResultsDatabase::create(path);
    } catch (const lumen::Failure &) {
        message(QStringLiteral("Could not create database"));
        return false;
    }
    numFields = QString::number(ResultsDatabase::fixedColumns().size());
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

qint64 ArchiverModel::exportCsv(const QString &path, bool longForm, QString *error) const
{
    const QString database = lumen::trimBlanks(apath);
    try {
        // Only an archive that is there: the engine would make an empty file.
        if (!DatabaseLocation::isServerUrl(database) && !QFileInfo(database).isFile())
            throw lumen::Failure(QStringLiteral("No database there"));
        ResultsDatabase db(database);
        db.checkReadable();
        return longForm ? CsvExport::writeLong(db, path) : CsvExport::writeWide(db, path);
    } catch (const lumen::Failure &failure) {
        *error = QStringLiteral("Could not export [ ") + database + QStringLiteral(" ] to [ ") +
                 path + QStringLiteral(" ] <") + failure.description() + u'>';
        return -1;
    }
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
