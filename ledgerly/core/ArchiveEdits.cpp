#include "ledgerly/core/ArchiveEdits.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "ledgerly/core/AuditTrail.h"
#include "ledgerly/core/RecordDigest.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/ResultsDatabase.h"
#include "ledgerly/core/SqlStatement.h"

#include <QSqlQuery>

namespace lumen::ledgerly {

namespace {

// The wide table's header columns as "SamRecords" holds them; the two times
// are numbers there.
bool isRecordText(const QString &column)
{
    return column == u"File Name" || column == u"ID Text" || column == u"Date & time" ||
           column == u"Sample Date";
}

bool isRecordNumber(const QString &column)
{
    return column == u"Counting Time" || column == u"DT %";
}

QVariant numberOrNull(const QVariant &stored)
{
    bool ok = false;
    // A "D" exponent reads as an "E" one, as everywhere a number is read.
    const double value =
        stored.toString().trimmed().replace(u'D', u'E').replace(u'd', u'e').toDouble(&ok);
    return ok ? QVariant(value) : QVariant(QMetaType(QMetaType::Double));
}

class GoneRecord : public lumen::Failure
{
public:
    GoneRecord() : lumen::Failure(QStringLiteral("The record is no longer there")) {}
};

} // namespace

QString ArchiveEdits::keyExpression() const
{
    return m_server ? QStringLiteral("ctid") : QStringLiteral("rowid");
}

QString ArchiveEdits::keyText() const
{
    return m_server ? QStringLiteral("ctid::text") : QStringLiteral("rowid");
}

QString ArchiveEdits::keyMark() const
{
    return m_server ? QStringLiteral("?::tid") : QStringLiteral("?");
}

QVariant ArchiveEdits::recordOf(const QVariant &wideNumber)
{
    if (wideNumber.isNull() || !m_db.tables().contains(QStringLiteral("SamRecords")))
        return QVariant();
    QSqlQuery query(m_db);
    // An archive from before numbers were unique may repeat one: the latest record holds it.
    query.prepare(
        QStringLiteral("SELECT MAX(\"Record\") FROM \"SamRecords\" WHERE \"idxRec#\" = ?"));
    query.addBindValue(wideNumber);
    SqlStatement::exec(query);
    return query.next() ? query.value(0) : QVariant();
}

void ArchiveEdits::editLongTables(const QVariant &record, const QString &column,
                                  const QVariant &stored)
{
    if (record.isNull())
        return;
    QSqlQuery query(m_db);
    const auto run = [&](const QString &sql, const QVariantList &values) {
        if (!query.prepare(sql))
            SqlStatement::fail(query.lastError(), m_server);
        for (const QVariant &value : values)
            query.addBindValue(value);
        SqlStatement::exec(query);
        return query.numRowsAffected();
    };
    if (column == u"idxRec#") {
        run(QStringLiteral("UPDATE \"SamRecords\" SET \"idxRec#\" = ? WHERE \"Record\" = ?"),
            {stored, record});
    } else if (isRecordText(column)) {
        run(QStringLiteral("UPDATE \"SamRecords\" SET %1 = ? WHERE \"Record\" = ?")
                .arg(SqlStatement::quoted(column)),
            {stored, record});
    } else if (isRecordNumber(column)) {
        run(QStringLiteral("UPDATE \"SamRecords\" SET %1 = ? WHERE \"Record\" = ?")
                .arg(SqlStatement::quoted(column)),
            {numberOrNull(stored), record});
    } else if (stored.isNull()) {
        run(QStringLiteral("DELETE FROM \"SamResults\" WHERE \"Record\" = ? AND \"Column\" = ?"),
            {record, column});
    } else if (run(QStringLiteral("UPDATE \"SamResults\" SET \"Value\" = ? WHERE \"Record\" = ? "
                                  "AND \"Column\" = ?"),
                   {numberOrNull(stored), record, column}) < 1) {
        // A value typed into a cell the report left empty: the long table gets
        // it too, with the nuclide, row and energy another record of the
        // column has (or its name gives), so queries by nuclide find it.
        if (run(QStringLiteral("INSERT INTO \"SamResults\" (\"Record\", \"Column\", "
                               "\"Nuclide\", \"Line\", \"Energy\", \"Value\") SELECT ?, ?, "
                               "\"Nuclide\", \"Line\", \"Energy\", ? FROM \"SamResults\" "
                               "WHERE \"Column\" = ? AND \"Nuclide\" IS NOT NULL LIMIT 1"),
                {record, column, numberOrNull(stored), column}) < 1) {
            const ResultColumns::NameParts parts = ResultColumns::partsOf(column);
            run(QStringLiteral("INSERT INTO \"SamResults\" (\"Record\", \"Column\", "
                               "\"Nuclide\", \"Line\", \"Energy\", \"Value\") VALUES "
                               "(?, ?, ?, ?, ?, ?)"),
                {record, column, parts.nuclide,
                 parts.line > 0 ? QVariant(parts.line) : QVariant(QMetaType(QMetaType::Int)),
                 parts.line > 0 ? QVariant(QMetaType(QMetaType::Double)) : QVariant(parts.energy),
                 numberOrNull(stored)});
        }
    }
}

template <typename Work> bool ArchiveEdits::inTransaction(Work work)
{
    if (!m_db.transaction()) {
        m_lastError = m_db.lastError();
        return false;
    }
    try {
        work();
    } catch (const lumen::Failure &failure) {
        m_lastError = QSqlError(QString(), failure.description(), QSqlError::StatementError);
        m_db.rollback();
        return false;
    }
    if (m_db.commit())
        return true;
    m_lastError = m_db.lastError();
    m_db.rollback();
    return false;
}

bool ArchiveEdits::edit(const QVariant &key, const QString &column, const QVariant &stored,
                        QVariant *movedKey)
{
    return inTransaction([&] {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("SELECT \"idxRec#\", %1 FROM \"SamData\" WHERE %2 = %3")
                          .arg(SqlStatement::quoted(column), keyExpression(), keyMark()));
        query.addBindValue(key);
        SqlStatement::exec(query);
        if (!query.next())
            throw GoneRecord();
        const QVariant number = query.value(0);
        const QVariant old = query.value(1);
        query.finish();
        const QVariant record = recordOf(number);

        // A server stores the changed record anew, under another row address.
        query.prepare(QStringLiteral("UPDATE \"SamData\" SET %1 = ? WHERE %2 = %3%4")
                          .arg(SqlStatement::quoted(column), keyExpression(), keyMark(),
                               m_server ? QStringLiteral(" RETURNING ctid::text") : QString()));
        query.addBindValue(stored);
        query.addBindValue(key);
        SqlStatement::exec(query);
        if (m_server && query.next() && movedKey)
            *movedKey = query.value(0);
        query.finish();
        editLongTables(record, column, stored);
        AuditTrail::createMissing(query, m_server, m_db.tables());
        AuditTrail::add(query, {QStringLiteral("edit"), record.isNull() ? number : record, column,
                                old, stored});
    });
}

bool ArchiveEdits::remove(const QVariant &key)
{
    return inTransaction([&] {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("SELECT \"idxRec#\", \"ID Text\" FROM \"SamData\" WHERE %1 "
                                     "= %2")
                          .arg(keyExpression(), keyMark()));
        query.addBindValue(key);
        SqlStatement::exec(query);
        if (!query.next())
            throw GoneRecord();
        const QVariant number = query.value(0);
        const QString id = lumen::trimBlanks(query.value(1).toString());
        query.finish();
        const QVariant record = recordOf(number);
        const QVariant audited = record.isNull() ? number : record;
        // Every value the record holds, with its report's hash, stays readable in the trail.
        AuditTrail::createMissing(query, m_server, m_db.tables());
        const QString values =
            audited.isNull() ? QString() : RecordDigest::values(query, audited.toLongLong());

        query.prepare(QStringLiteral("DELETE FROM \"SamData\" WHERE %1 = %2")
                          .arg(keyExpression(), keyMark()));
        query.addBindValue(key);
        SqlStatement::exec(query);
        if (query.numRowsAffected() < 1)
            throw GoneRecord();
        if (!record.isNull()) {
            for (const char *table : {"SamResults", "SamRecords"}) {
                query.prepare(QStringLiteral("DELETE FROM \"%1\" WHERE \"Record\" = ?")
                                  .arg(QLatin1String(table)));
                query.addBindValue(record);
                SqlStatement::exec(query);
            }
        }
        AuditTrail::add(query, {QStringLiteral("delete"), audited, QStringLiteral("ID Text"), id,
                                QVariant(), values});
    });
}

} // namespace lumen::ledgerly
