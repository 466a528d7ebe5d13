#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace lumen::ledgerly {

/**
 * The viewer's record set on "SamData" (the design's `SampleR`). Opening it
 * reads only the storage key of every record (the file's row id, the
 * server's row address) in the table's order; the cells are fetched a page
 * at a time as the grid shows them, by key, and only a few pages are kept.
 * So a large archive opens at once in little memory, and no read is held
 * open between fetches: other stations append, and make columns, as usual.
 * The table has no key of its own, so a changed or deleted row is found by
 * its storage key rather than by matching every field, which would also hit
 * an identical twin of the row. Edits are checked against what their column
 * can hold (ColumnCapacity) and written at once, with the long tables and the
 * audit trail (ArchiveEdits). Row headers show record numbers.
 */
class ResultsTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /** A record set on the open connection `db`; select() reads it. */
    ResultsTableModel(const QSqlDatabase &db, bool server, QObject *parent = nullptr);

    /** Records fetched together as the grid reaches them. */
    static constexpr int kPageRows = 200;
    /** Pages kept; the one used longest ago goes first. */
    static constexpr int kKeptPages = 10;

    /** Reads the columns and the keys of the records; false (lastError set) on failure. */
    bool select();

    /**
     * Shows the records ordered by `column` (as stored: texts in text order)
     * rather than by record number; re-reads the keys.
     */
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    /** Shows only the records whose "ID Text" holds `text` (any letter case); empty for all. */
    void setIdFilter(const QString &text);

    /** The table's columns, in table order. */
    QSqlRecord record() const { return m_columns; }
    QSqlError lastError() const { return m_lastError; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    /** Writes an edit; a refused one leaves the cell as stored and is reported by writeFailed. */
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    /**
     * Deletes the record shown at `row`, with its rows of the long tables and
     * an audit row (see ArchiveEdits). False (lastError set) when it failed
     * or that record is gone.
     */
    bool deleteRecordAt(int row);
    /** The value of `column` in the record shown at `row`; invalid when there is none. */
    QVariant valueAt(int row, const QString &column) const;
    /** Number of records in the table now; -1 on failure. */
    int totalRecords() const;
    /** Records whose cells are held in memory. */
    int cachedRows() const;

Q_SIGNALS:
    /** An edit the database or its column refused; `description` says why. */
    void writeFailed(const QString &description);

private:
    using Row = QList<QVariant>;
    const Row *rowAt(int row) const;
    void loadPage(int page) const;
    QString keyExpression() const;
    QString keyText() const;
    QString keyMark() const;

    QSqlDatabase m_db;
    bool m_server = false;
    QSqlRecord m_columns;
    QList<QVariant> m_keys; ///< storage keys in the table's order
    int m_sortColumn = -1;  ///< -1: the table's order
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QString m_idFilter;
    mutable QHash<int, QList<Row>> m_pages;
    mutable QList<int> m_pageUse; ///< page numbers, most recently used last
    mutable QSqlError m_lastError;
};

} // namespace lumen::ledgerly
