#include "ledgerly/core/ViewerModel.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/ResultsTableModel.h"

#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>

namespace lumen::ledgerly {

ViewerModel::ViewerModel() = default;

ViewerModel::~ViewerModel()
{
    // The record set holds a statement on the connection: it goes first.
    m_records.reset();
    m_database.reset();
}

lumen::Operator &ViewerModel::op() const
{
    return m_operator ? *m_operator : lumen::currentOperator();
}

bool ViewerModel::load(const QString &apath)
{
    m_records.reset();
    m_database.reset();
    m_currentRow = -1;
    m_apath = apath;
    m_loadError.clear();
    try {
        m_database = std::make_unique<ResultsDatabase>(lumen::trimBlanks(apath));
    } catch (const lumen::Failure &failure) {
        m_loadError = failure.description();
        return false;
    }
    auto records =
        std::make_unique<ResultsTableModel>(m_database->connection(), m_database->isServer());
    if (!records->select() || records->record().isEmpty()) {
        const QSqlError error = records->lastError();
        m_loadError = !error.databaseText().isEmpty() ? error.databaseText().trimmed()
                      : error.isValid()               ? error.text()
                                                      : QStringLiteral("no table \"SamData\"");
        records.reset();
        m_database.reset();
        return false;
    }
    m_records = std::move(records);
    // A cheap look at the audit chain's end: the grid opens all the same.
    try {
        if (const QString problem = m_database->auditTailProblem(); !problem.isEmpty())
            op().messageBox(QStringLiteral("Warning: ") + problem +
                                QStringLiteral(" (Ledgerly --verify checks the whole archive)"),
                            title(), lumen::MessageButtons::Ok);
    } catch (const lumen::Failure &) {
    }
    const int total = m_records->totalRecords();
    if (total > 0)
        totalLable = QString::number(total);
    fieldCount = QString::number(m_records->columnCount());
    return true;
}

void ViewerModel::currentRowChanged(int row)
{
    m_currentRow = row;
    if (row < 0)
        return;
    // The record's number, as the row headers show it; its place when it has none.
    const QVariant number =
        m_records ? m_records->valueAt(row, QStringLiteral("idxRec#")) : QVariant();
    currentRecord = number.isNull() ? QString::number(row + 1) : number.toString();
}

int ViewerModel::recordToDelete() const
{
    if (!m_records || m_records->rowCount() == 0)
        return -1;
    return m_currentRow >= 0 && m_currentRow < m_records->rowCount() ? m_currentRow
                                                                     : m_records->rowCount() - 1;
}

QString ViewerModel::deleteQuestion() const
{
    const int row = recordToDelete();
    if (row < 0)
        return QStringLiteral("Delete the last record, are you SURE ?");
    const QVariant number = m_records->valueAt(row, QStringLiteral("idxRec#"));
    const QString id =
        lumen::trimBlanks(m_records->valueAt(row, QStringLiteral("ID Text")).toString());
    return QStringLiteral("Delete record %1 (ID: %2), are you SURE ?")
        .arg(number.isNull() ? QStringLiteral("without number") : number.toString(), id);
}

bool ViewerModel::deleteSelectedRecord()
{
    if (op().messageBox(deleteQuestion(), ArchiverModel::title(),
                        lumen::MessageButtons::YesNoDefaultNo) != lumen::MessageAnswer::Yes)
        return false;
    const int row = recordToDelete();
    if (row < 0 || !m_records->deleteRecordAt(row))
        return false;
    m_records->select();
    m_currentRow = -1;
    totalLable = QString::number(m_records->rowCount());
    return true;
}

void ViewerModel::setIdFilter(const QString &text)
{
    if (!m_records)
        return;
    m_records->setIdFilter(text);
    m_currentRow = -1;
    totalLable = QString::number(m_records->rowCount());
}

bool ViewerModel::exportCsv()
{
    lumen::FileDialogRequest request;
    request.kind = lumen::FileDialogRequest::Kind::Save;
    request.title = QStringLiteral("Export CSV");
    request.defaultExtension = QStringLiteral("csv");
    request.initialName = QStringLiteral("SamData.csv");
    request.filter = QStringLiteral("CSV (*.csv)|*.csv|All (*.*)|*.*");
    request.overwritePrompt = true;
    const std::optional<QString> path = op().fileDialog(request);
    if (!path || path->isEmpty())
        return false;
    ArchiverModel archiver;
    archiver.setApath(m_apath);
    const ArchiverModel::ExportResult result =
        archiver.exportCsv(*path, ArchiverModel::ExportKind::Wide);
    QString said = result.rows < 0 ? result.error
                                   : QStringLiteral("Exported %1 records to [ %2 ] (%3)")
                                         .arg(result.rows)
                                         .arg(*path, ArchiverModel::headText(result.head));
    if (!result.auditError.isEmpty())
        said += u'\n' + result.auditError;
    op().messageBox(said, ArchiverModel::title(), lumen::MessageButtons::Ok);
    return result.rows >= 0;
}

std::optional<QRect> ViewerModel::gridGeometry(int width, int height, int dataHeight, int top)
{
    const int gridWidth = int(std::lround(0.98 * width));
    const int gridHeight = height - (2 * dataHeight + top);
    if (gridHeight <= 0 || gridWidth <= 0)
        return std::nullopt;
    return QRect((width - gridWidth) / 2, top, gridWidth, gridHeight);
}

double ViewerModel::twipsPerPixel(double dotsPerInch)
{
    return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

QList<QPair<int, int>> ViewerModel::widthsToApply(const ArchiverSettings::Widths &widths,
                                                  int columnCount, double twipsPerPixel)
{
    QList<QPair<int, int>> applied;
    for (int i = 0; i < kWidthColumns && i < columnCount; ++i) {
        if (widths[i] > 100)
            applied.append({i, std::max(1, int(std::lround(widths[i] / twipsPerPixel)))});
    }
    return applied;
}

void ViewerModel::storeWidths(ArchiverSettings::Widths &widths, const QList<double> &columnWidths,
                              double twipsPerPixel)
{
    for (int i = 0; i < kWidthColumns && i < columnWidths.size(); ++i) {
        const double rounded = std::nearbyint(columnWidths[i] * twipsPerPixel);
        widths[i] =
            std::int16_t(std::clamp<double>(rounded, std::numeric_limits<std::int16_t>::min(),
                                            std::numeric_limits<std::int16_t>::max()));
    }
}

} // namespace lumen::ledgerly
