#include "ledgerly/core/RecordDigest.h"

#include "ledgerly/core/SqlStatement.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>

namespace lumen::ledgerly {

namespace {

// The rows of one table that belong to the record, each as column/value
// pairs sorted by column, empty columns left out: a column another report
// added since (empty for this record) changes nothing.
using Row = QList<QPair<QString, QString>>;

QList<Row> rowsOf(QSqlQuery &query, const QString &sql, const QVariant &key)
{
    if (!query.prepare(sql))
        SqlStatement::fail(query.lastError(), SqlStatement::isServer(query));
    query.addBindValue(key);
    SqlStatement::exec(query);
    QList<Row> rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        Row row;
        for (int i = 0; i < record.count(); ++i) {
            if (!record.isNull(i))
                row.append({record.fieldName(i), record.value(i).toString()});
        }
        std::sort(row.begin(), row.end());
        rows.append(row);
    }
    query.finish();
    // The engine's order of rows is no promise; the values' order is.
    std::sort(rows.begin(), rows.end());
    return rows;
}

struct RecordRows
{
    QList<Row> wide, records, results;
};

RecordRows readRows(QSqlQuery &query, qint64 record)
{
    RecordRows rows;
    rows.records =
        rowsOf(query, QStringLiteral("SELECT * FROM \"SamRecords\" WHERE \"Record\" = ?"), record);
    // The wide row carries the number "SamRecords" gave it (the record's own
    // number since numbers are unique), none when "SamData" could not take
    // it; without a "SamRecords" row, the record's number.
    QVariant wideNumber = record;
    if (!rows.records.isEmpty()) {
        wideNumber = QVariant();
        for (const auto &[column, value] : rows.records.first()) {
            if (column == u"idxRec#")
                wideNumber = value.toLongLong();
        }
    }
    if (!wideNumber.isNull())
        rows.wide = rowsOf(query, QStringLiteral("SELECT * FROM \"SamData\" WHERE \"idxRec#\" = ?"),
                           wideNumber);
    rows.results = rowsOf(query,
                          QStringLiteral("SELECT \"Column\", \"Nuclide\", \"Line\", \"Energy\", "
                                         "\"Value\" FROM \"SamResults\" WHERE \"Record\" = ?"),
                          record);
    return rows;
}

QString digestOf(const QList<Row> &rows)
{
    if (rows.isEmpty())
        return QStringLiteral("-");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const Row &row : rows) {
        for (const auto &[column, value] : row) {
            // Lengths first: no value can pass for a column or the next value.
            const QByteArray name = column.toUtf8(), text = value.toUtf8();
            hash.addData(QByteArray::number(name.size()) + ':' + name +
                         QByteArray::number(text.size()) + ':' + text);
        }
        hash.addData(QByteArrayView("\n"));
    }
    return QString::fromLatin1(hash.result().toHex().left(32));
}

QString partOf(const QString &digest, const QString &table)
{
    for (const QString &part : digest.split(u' ')) {
        if (part.startsWith(table + u':'))
            return part.mid(table.size() + 1);
    }
    return QString();
}

QJsonObject objectOf(const Row &row)
{
    QJsonObject object;
    for (const auto &[column, value] : row)
        object.insert(column, value);
    return object;
}

} // namespace

const QStringList &RecordDigest::tables()
{
    static const QStringList names{QStringLiteral("SamData"), QStringLiteral("SamRecords"),
                                   QStringLiteral("SamResults")};
    return names;
}

QString RecordDigest::of(QSqlQuery &query, qint64 record)
{
    const RecordRows rows = readRows(query, record);
    return QStringLiteral("SamData:%1 SamRecords:%2 SamResults:%3")
        .arg(digestOf(rows.wide), digestOf(rows.records), digestOf(rows.results));
}

QString RecordDigest::differingTable(const QString &expected, const QString &actual)
{
    for (const QString &table : tables()) {
        if (partOf(expected, table) != partOf(actual, table))
            return table;
    }
    return QString();
}

bool RecordDigest::hasNoRows(const QString &digest, const QString &table)
{
    return partOf(digest, table) == u"-";
}

QString RecordDigest::values(QSqlQuery &query, qint64 record)
{
    const RecordRows rows = readRows(query, record);
    QJsonObject object;
    object.insert(QStringLiteral("SamRecords"), objectOf(rows.records.value(0)));
    object.insert(QStringLiteral("SamData"), objectOf(rows.wide.value(0)));
    QJsonArray results;
    for (const Row &row : rows.results)
        results.append(objectOf(row));
    object.insert(QStringLiteral("SamResults"), results);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace lumen::ledgerly
