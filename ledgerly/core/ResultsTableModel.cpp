#include "ledgerly/core/ResultsTableModel.h"

#include "common/core/NumberText.h"
#include "ledgerly/core/ArchiveEdits.h"
#include "ledgerly/core/ColumnCapacity.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/SqlStatement.h"

#include <QSqlQuery>
#include <QStringList>

namespace lumen::ledgerly {

ResultsTableModel::ResultsTableModel(const QSqlDatabase &db, bool server, QObject *parent)
    : QAbstractTableModel(parent), m_db(db), m_server(server)
{
    setObjectName(QStringLiteral("SampleR"));
}

QString ResultsTableModel::keyExpression() const
{
    return ArchiveEdits(m_db, m_server).keyExpression();
}

QString ResultsTableModel::keyText() const
{
    return ArchiveEdits(m_db, m_server).keyText();
}

QString ResultsTableModel::keyMark() const
{
    return ArchiveEdits(m_db, m_server).keyMark();
}

bool ResultsTableModel::select()
{
    beginResetModel();
    m_pages.clear();
    m_pageUse.clear();
    m_keys.clear();
    // The server folds an unquoted name to lower case when the driver looks it up.
    m_columns = m_db.record(m_server ? QStringLiteral("\"SamData\"") : QStringLiteral("SamData"));
    bool read = !m_columns.isEmpty();
    if (read) {
        // Record number first, as the index "idxSeq" keeps them; the storage
        // key orders the numbers that repeat after deletions.
        const QString tableOrder = QStringLiteral("\"idxRec#\", ") + keyExpression();
        QString order = tableOrder;
        if (m_sortColumn >= 0 && m_sortColumn < m_columns.count())
            order = SqlStatement::quoted(m_columns.fieldName(m_sortColumn)) +
                    (m_sortOrder == Qt::DescendingOrder ? QStringLiteral(" DESC, ")
                                                        : QStringLiteral(", ")) +
                    tableOrder;
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        read =
            query.prepare(QStringLiteral("SELECT %1 FROM \"SamData\"%2 ORDER BY %3")
                              .arg(keyText(),
                                   m_idFilter.isEmpty()
                                       ? QString()
                                       : QStringLiteral(" WHERE LOWER(\"ID Text\") LIKE LOWER(?)"),
                                   order));
        if (read && !m_idFilter.isEmpty())
            query.addBindValue(u'%' + m_idFilter + u'%');
        read = read && query.exec();
        while (read && query.next())
            m_keys << query.value(0);
        m_lastError = query.lastError();
        query.finish();
    }
    endResetModel();
    return read;
}

void ResultsTableModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    select();
}

void ResultsTableModel::setIdFilter(const QString &text)
{
    m_idFilter = text;
    select();
}

int ResultsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

int ResultsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns.count();
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_columns.count() ? m_columns.fieldName(section)
                                                           : QVariant();
    // The record's own number, not its place: under a filter or a sort the two differ.
    const Row *row = rowAt(section);
    const int number = m_columns.indexOf(QStringLiteral("idxRec#"));
    if (row && number >= 0 && number < row->size() && !row->at(number).isNull())
        return row->at(number);
    return QVariant();
}

QVariant ResultsTableModel::valueAt(int row, const QString &column) const
{
    const Row *cells = rowAt(row);
    const int at = m_columns.indexOf(column);
    return cells && at >= 0 && at < cells->size() ? cells->at(at) : QVariant();
}

Qt::ItemFlags ResultsTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The superseded mark is the archive's own word, set by the append that
    // replaced the record: shown, never typed.
    if (m_columns.fieldName(index.column()) == ResultsDatabase::supersededColumn())
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void ResultsTableModel::loadPage(int page) const
{
    const int first = page * kPageRows;
    const int count = std::min<int>(kPageRows, int(m_keys.size()) - first);
    QList<Row> rows(count);
    QHash<QString, int> positions;
    for (int i = 0; i < count; ++i)
        positions.insert(m_keys.at(first + i).toString(), i);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const QStringList marks(count, keyMark());
    // Found by key: the engine goes straight to the rows, however far down the table.
    if (query.prepare(QStringLiteral("SELECT %1, * FROM \"SamData\" WHERE %2 IN (%3)")
                          .arg(keyText(), keyExpression(), marks.join(u", ")))) {
        for (int i = 0; i < count; ++i)
            query.addBindValue(m_keys.at(first + i));
        if (query.exec()) {
            while (query.next()) {
                const auto at = positions.constFind(query.value(0).toString());
                if (at == positions.cend())
                    continue;
                Row row(m_columns.count());
                for (int c = 0; c < m_columns.count(); ++c)
                    row[c] = query.value(c + 1);
                rows[*at] = std::move(row);
            }
        }
    }
    m_lastError = query.lastError();
    m_pages.insert(page, std::move(rows));
    m_pageUse << page;
    while (m_pageUse.size() > kKeptPages)
        m_pages.remove(m_pageUse.takeFirst());
}

const ResultsTableModel::Row *ResultsTableModel::rowAt(int row) const
{
    if (row < 0 || row >= m_keys.size())
        return nullptr;
    const int page = row / kPageRows;
    if (!m_pages.contains(page))
        loadPage(page);
    else if (m_pageUse.last() != page) {
        m_pageUse.removeOne(page);
        m_pageUse << page;
    }
    const Row &cells = m_pages[page][row % kPageRows];
    return cells.isEmpty() ? nullptr : &cells; // a record deleted since the keys were read
}

QVariant ResultsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const Row *row = rowAt(index.row());
    return row && index.column() < row->size() ? row->at(index.column()) : QVariant();
}

int ResultsTableModel::cachedRows() const
{
    int rows = 0;
    for (const auto &page : m_pages)
        rows += int(page.size());
    return rows;
}

bool ResultsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_keys.size())
        return false;
    const QString column = m_columns.fieldName(index.column());
    if (!(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString refusal = ColumnCapacity::refusal(column, value);
    if (!refusal.isEmpty()) {
        Q_EMIT writeFailed(refusal);
        return false;
    }
    const QString text = value.isNull() ? QString() : value.toString();
    QVariant stored = text.isEmpty() ? QVariant() : QVariant(text);
    if (column == u"idxRec#")
        stored = text.isEmpty() ? QVariant(QMetaType(QMetaType::Int))
                                : QVariant(int(lumen::strictInt16(text)));
    else if (text.isEmpty())
        stored = QVariant(QMetaType(QMetaType::QString));

    ArchiveEdits edits(m_db, m_server);
    QVariant moved;
    if (!edits.edit(m_keys.at(index.row()), column, stored, &moved)) {
        m_lastError = edits.lastError();
        Q_EMIT writeFailed(m_lastError.databaseText().isEmpty()
                               ? m_lastError.text()
                               : m_lastError.databaseText().trimmed());
        return false;
    }
    if (moved.isValid())
        m_keys[index.row()] = moved;
    const int page = index.row() / kPageRows;
    if (m_pages.contains(page)) {
        Row &cells = m_pages[page][index.row() % kPageRows];
        if (index.column() < cells.size())
            cells[index.column()] = stored;
    }
    Q_EMIT dataChanged(index, index);
    return true;
}

bool ResultsTableModel::deleteRecordAt(int row)
{
    // The record the grid shows at that row, not whatever another station has
    // appended since: the operator confirmed the deletion of what they saw.
    if (row < 0 || row >= m_keys.size()) {
        m_lastError =
            QSqlError(QString(), QStringLiteral("No such record"), QSqlError::StatementError);
        return false;
    }
    ArchiveEdits edits(m_db, m_server);
    if (!edits.remove(m_keys.at(row))) {
        m_lastError = edits.lastError();
        return false;
    }
    return true;
}

int ResultsTableModel::totalRecords() const
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM \"SamData\"")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

} // namespace lumen::ledgerly
