#include "ledgerly/core/ResultsTableModel.h"

#include "ledgerly/core/ColumnCapacity.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace lumen::ledgerly {

namespace {

QString quoted(const QString &identifier)
{
    QString inner = identifier;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

} // namespace

ResultsTableModel::ResultsTableModel(const QSqlDatabase &db, bool server, QObject *parent)
    : QSqlTableModel(parent, db), m_server(server)
{
    setObjectName(QStringLiteral("SampleR"));
    setEditStrategy(QSqlTableModel::OnFieldChange);
    // The server folds an unquoted name to lower case when the driver looks it up.
    setTable(server ? QStringLiteral("\"SamData\"") : QStringLiteral("SamData"));
}

bool ResultsTableModel::select()
{
    m_lastKey.clear();
    if (!QSqlTableModel::select())
        return false;
    m_lastKey = lastKey();
    // The server's driver reads the whole result anyway and holds nothing open.
    if (!m_server && qint64(totalRecords()) * columnCount() <= kReadWholeCells) {
        while (canFetchMore())
            fetchMore();
    }
    return true;
}

QString ResultsTableModel::keyExpression() const
{
    return m_server ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

QString ResultsTableModel::orderByClause() const
{
    // Record number first, as the index "idxSeq" keeps them; the storage key
    // orders the numbers that repeat after deletions.
    return QStringLiteral("ORDER BY \"idxRec#\", ") + keyExpression();
}

QString ResultsTableModel::keyText() const
{
    return m_server ? QStringLiteral("ctid::text") : keyExpression();
}

QString ResultsTableModel::lastKey() const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT %1 FROM \"SamData\" ORDER BY \"idxRec#\" DESC, %2 DESC "
                                   "LIMIT 1")
                        .arg(keyText(), keyExpression())) ||
        !query.next())
        return QString();
    return query.value(0).toString();
}

QString ResultsTableModel::keyAt(int row) const
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM \"SamData\" %2 LIMIT 1 OFFSET ?")
                      .arg(keyText(), orderByClause()));
    query.addBindValue(row);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

bool ResultsTableModel::updateRowInTable(int row, const QSqlRecord &values)
{
    const QString key = keyAt(row);
    if (key.isEmpty()) {
        setLastError(QSqlError(QString(), QStringLiteral("The record is no longer there"),
                               QSqlError::StatementError));
        return false;
    }
    QStringList assignments;
    QVariantList bound;
    for (int i = 0; i < values.count(); ++i) {
        if (!values.isGenerated(i))
            continue;
        assignments << quoted(values.fieldName(i)) + QStringLiteral(" = ?");
        bound << values.value(i);
    }
    if (assignments.isEmpty())
        return true;
    QSqlQuery query(database());
    // A server stores the changed record anew, under another row address.
    query.prepare(QStringLiteral("UPDATE \"SamData\" SET %1 WHERE %2 = ?%3")
                      .arg(assignments.join(u", "), keyExpression(),
                           m_server ? QStringLiteral("::tid RETURNING ctid::text") : QString()));
    for (const QVariant &value : std::as_const(bound))
        query.addBindValue(value);
    query.addBindValue(key);
    if (!query.exec()) {
        setLastError(query.lastError());
        return false;
    }
    if (m_server && key == m_lastKey && query.next())
        m_lastKey = query.value(0).toString();
    return true;
}

bool ResultsTableModel::deleteRowFromTable(int row)
{
    const QString key = keyAt(row);
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM \"SamData\" WHERE %1 = ?%2")
                      .arg(keyExpression(), m_server ? QStringLiteral("::tid") : QString()));
    query.addBindValue(key);
    if (key.isEmpty() || !query.exec()) {
        setLastError(query.lastError());
        return false;
    }
    return true;
}

bool ResultsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    setLastError(QSqlError());
    if (role == Qt::EditRole && index.isValid()) {
        const QString refusal =
            ColumnCapacity::refusal(headerData(index.column(), Qt::Horizontal).toString(), value);
        if (!refusal.isEmpty()) {
            Q_EMIT writeFailed(refusal);
            return false;
        }
    }
    if (QSqlTableModel::setData(index, value, role))
        return true;
    const QSqlError error = lastError();
    if (role != Qt::EditRole || !error.isValid())
        return false;
    revertRow(index.row());
    Q_EMIT writeFailed(error.databaseText().isEmpty() ? error.text()
                                                      : error.databaseText().trimmed());
    return false;
}

bool ResultsTableModel::deleteLastRecord()
{
    // The last record the grid shows, not whatever another station has
    // appended since: the operator confirmed the deletion of what they saw.
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM \"SamData\" WHERE %1 = ?%2")
                      .arg(keyExpression(), m_server ? QStringLiteral("::tid") : QString()));
    query.addBindValue(m_lastKey);
    if (m_lastKey.isEmpty() || !query.exec()) {
        setLastError(query.lastError());
        return false;
    }
    if (query.numRowsAffected() < 1) {
        setLastError(QSqlError(QString(), QStringLiteral("The record is no longer there"),
                               QSqlError::StatementError));
        return false;
    }
    m_lastKey.clear();
    return true;
}

int ResultsTableModel::totalRecords() const
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM \"SamData\"")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

} // namespace lumen::ledgerly
