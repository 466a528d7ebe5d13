#pragma once

#include "ledgerly/core/ArchiverSettings.h"

#include <QList>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

namespace lumen {
class Operator;
}

namespace lumen::ledgerly {

class ResultsDatabase;
class ResultsTableModel;

/**
 * The state of the database viewer (`formViewR`): its record set, the
 * texts of its count and position labels, and the rules for its layout and
 * column widths. The window shows it and forwards events.
 */
class ViewerModel
{
public:
    static QString title() { return QStringLiteral("Edit Results.MDB"); }
    /** Highest grid column whose width is kept (slots 0..99). */
    static constexpr int kWidthColumns = 100;

    ViewerModel();
    ~ViewerModel();
    ViewerModel(const ViewerModel &) = delete;
    ViewerModel &operator=(const ViewerModel &) = delete;

    /** Messages and questions go here; the process's operator when none is set. */
    void setOperator(lumen::Operator *op) { m_operator = op; }

    /**
     * Load: opens the database at `apath` and its table, and sets the count
     * labels. A database that cannot be read leaves the labels at their start
     * texts and no record set (returns false); loadError() then says why.
     */
    bool load(const QString &apath);
    /** Why the last load failed; empty after one that succeeded. */
    QString loadError() const { return m_loadError; }
    /** The record set, or nullptr when the load failed. */
    ResultsTableModel *records() const { return m_records.get(); }

    /** The grid's current row changed (0-based), -1 for none. */
    void currentRowChanged(int row);

    /**
     * Asks, naming the record by number and ID, and on Yes deletes the record
     * of the grid's current row (the last row shown when there is none) and
     * re-reads the table; the record count label follows. True when a
     * record was deleted.
     */
    bool deleteSelectedRecord();
    /** Shows only the records whose "ID Text" holds `text`; the count label counts them. */
    void setIdFilter(const QString &text);
    /** The question deleteSelectedRecord() asks. */
    QString deleteQuestion() const;

    /**
     * "Export CSV…": asks for a file and writes "SamData" to it as CSV; the
     * outcome is shown. True when the file was written.
     */
    bool exportCsv();

    /**
     * Where the grid goes in a window of inner size `width` x `height`
     * (pixels), below `top` and above a strip of twice `dataHeight`. Nothing
     * when the grid would have no height: the layout is then left as it is.
     */
    static std::optional<QRect> gridGeometry(int width, int height, int dataHeight, int top);

    /**
     * Twips per pixel on a screen of `dotsPerInch`. The stored widths are in
     * twips, as the archiver has always kept them, so that a column narrowed
     * below 100 pixels still comes back and older settings files keep their
     * widths.
     */
    static double twipsPerPixel(double dotsPerInch);
    /**
     * (column, width in pixels) for each grid column of `columnCount` whose
     * stored width is over 100 twips.
     */
    static QList<QPair<int, int>> widthsToApply(const ArchiverSettings::Widths &widths,
                                                int columnCount, double twipsPerPixel);
    /** Unload: slots 0.. take the grid's column widths (pixels) in twips; later slots keep theirs.
     */
    static void storeWidths(ArchiverSettings::Widths &widths, const QList<double> &columnWidths,
                            double twipsPerPixel);

    QString totalLable = QStringLiteral("0");
    QString fieldCount = QStringLiteral("0");
    QString currentRecord = QStringLiteral("null");

private:
    lumen::Operator &op() const;

    std::unique_ptr<ResultsDatabase> m_database;
    QString m_apath;
    /** The row deleteSelectedRecord() acts on; -1 when none. */
    int recordToDelete() const;

    /** Declared after the database: it holds a statement on its connection, so it goes first. */
    std::unique_ptr<ResultsTableModel> m_records;
    QString m_loadError;
    int m_currentRow = -1;
    lumen::Operator *m_operator = nullptr;
};

} // namespace lumen::ledgerly
