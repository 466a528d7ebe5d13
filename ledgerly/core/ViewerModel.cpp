#include "ledgerly/core/ViewerModel.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/Operator.h"
#include "ledgerly/core/ArchiverModel.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/ResultsTableModel.h"

#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>

namespace lumen::ledgerly {

ViewerModel::ViewerModel() = default;

ViewerModel::~ViewerModel()
{
    // The record set holds a statement on the connection: it goes first.
    delete m_records;
    m_records = nullptr;
    m_database.reset();
}

lumen::Operator &ViewerModel::op() const
{
    return m_operator ? *m_operator : lumen::currentOperator();
}

bool ViewerModel::load(const QString &apath)
{
    delete m_records;
    m_records = nullptr;
    m_database.reset();
    m_apath = apath;
    try {
        m_database = std::make_unique<ResultsDatabase>(lumen::trimBlanks(apath));
    } catch (const lumen::Failure &) {
        return false;
    }
    auto records =
        std::make_unique<ResultsTableModel>(m_database->connection(), m_database->isServer());
    if (!records->select() || records->record().isEmpty()) {
        records.reset();
        m_database.reset();
        return false;
    }
    m_records = records.release();
    const int total = m_records->totalRecords();
    if (total > 0)
        totalLable = QString::number(total);
    fieldCount = QString::number(m_records->columnCount());
    return true;
}

void ViewerModel::currentRowChanged(int row)
{
    if (row >= 0)
        currentRecord = QString::number(row + 1);
}

bool ViewerModel::deleteLastRecord()
{
    if (op().messageBox(QStringLiteral("Delete the last record, are you SURE ?"),
                        ArchiverModel::title(),
                        lumen::MessageButtons::YesNo) != lumen::MessageAnswer::Yes)
        return false;
    if (!m_records || m_records->rowCount() == 0 || !m_records->deleteLastRecord())
        return false;
    m_records->select();
    return true;
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
    archiver.apath = m_apath;
    QString error;
    const qint64 rows = archiver.exportCsv(*path, ArchiverModel::ExportKind::Wide, &error);
    op().messageBox(rows < 0 ? error
                             : QStringLiteral("Exported %1 records to [ %2 ]").arg(rows).arg(*path),
                    ArchiverModel::title(), lumen::MessageButtons::Ok);
    return rows >= 0;
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
