#pragma once

#include <QSqlTableModel>
#include <QString>

namespace lumen::ledgerly {

/**
 * The viewer's record set on "SamData" (the design's `SampleR`): fetched
 * lazily, edits written at once. The table has no key, so a changed or
 * deleted row is found by its storage key (the file's row id, the server's
 * row address) at its position, rather than by matching every field, which
 * would also hit an identical twin of the row.
 */
class ResultsTableModel : public QSqlTableModel
{
    Q_OBJECT

public:
    /** A record set on the open connection `db`; select() reads it. */
    ResultsTableModel(const QSqlDatabase &db, bool server, QObject *parent = nullptr);

    /**
     * Records of a file are all read at once up to this many cells. A file
     * read only in part keeps a read open on it, and while that lasts no
     * other station can append; a larger table is read as the grid scrolls.
     */
    static constexpr int kReadWholeCells = 500000;

    /** Reads the table (see kReadWholeCells). */
    bool select() override;

    /** Writes an edit; a refused one is reverted and reported by writeFailed. */
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    /**
     * Deletes the last record of the table's order as the last select() read
     * it (records appended since by other stations stay). False (lastError
     * set) when it failed or that record is gone.
     */
    bool deleteLastRecord();
    /** Number of records in the table (not only those fetched so far); -1 on failure. */
    int totalRecords() const;

Q_SIGNALS:
    /** An edit the database refused; `description` says why. The cell shows the stored value again.
     */
    void writeFailed(const QString &description);

protected:
    QString orderByClause() const override;
    bool updateRowInTable(int row, const QSqlRecord &values) override;
    bool deleteRowFromTable(int row) override;

private:
    QString keyExpression() const;
    /** The storage key as text. */
    QString keyText() const;
    /** The storage key of the last record of the table's order, or an empty text. */
    QString lastKey() const;
    /** The storage key of the record at `row` of the table's order, or an empty text. */
    QString keyAt(int row) const;

    bool m_server = false;
    QString m_lastKey; ///< storage key of the last record read by select()
};

} // namespace lumen::ledgerly
