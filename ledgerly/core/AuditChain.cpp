#include "ledgerly/core/AuditChain.h"

#include "ledgerly/core/RecordDigest.h"
#include "ledgerly/core/SqlStatement.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <QSqlRecord>
#include <algorithm>

namespace lumen::ledgerly {

namespace {

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

bool hasChainColumns(QSqlQuery &query)
{
    SqlStatement::exec(query, QStringLiteral("SELECT * FROM \"SamAudit\" WHERE 1 = 0"));
    const bool has = query.record().contains(QStringLiteral("Hash"));
    query.finish();
    return has;
}

QList<AuditChain::Row> lastRows(QSqlQuery &query, int count)
{
    SqlStatement::exec(query, QStringLiteral("SELECT %1 FROM \"SamAudit\" ORDER BY \"Entry\" DESC "
                                             "LIMIT %2")
                                  .arg(AuditChain::columns())
                                  .arg(count));
    QList<AuditChain::Row> rows;
    while (query.next())
        rows.append(AuditChain::rowFrom(query));
    query.finish();
    return rows;
}

/** The record's digest now against the one its last audit row vouched for; empty when alike. */
QString recordBreak(QSqlQuery &query, qint64 record, const AuditChain::Row &row)
{
    const QString expected = text(row.valuesDigest);
    const QString actual = RecordDigest::of(query, record);
    const QString table = RecordDigest::differingTable(expected, actual);
    if (table.isEmpty())
        return QString();
    const QString where = QStringLiteral("record %1: ").arg(record);
    const QString entry = QStringLiteral(" (audit entry %1)").arg(row.entry);
    if (RecordDigest::hasNoRows(actual, table))
        return where + QStringLiteral("its rows in \"%1\" are missing").arg(table) + entry;
    if (RecordDigest::hasNoRows(expected, table))
        return where +
               QStringLiteral("\"%1\" holds rows the audit trail never recorded").arg(table) +
               entry;
    return where +
           QStringLiteral("its values in \"%1\" differ from what the audit trail recorded")
               .arg(table) +
           entry;
}

} // namespace

QString AuditChain::columns()
{
    return QStringLiteral("\"Entry\", \"Time\", \"User\", \"Database User\", \"Machine\", "
                          "\"Action\", \"Record\", \"Column\", \"Old Value\", \"New Value\", "
                          "\"Values Digest\", \"Record Values\", \"Hash\"");
}

AuditChain::Row AuditChain::rowFrom(const QSqlQuery &query)
{
    Row row;
    row.entry = query.value(0).toLongLong();
    QVariant *fields[] = {&row.time,     &row.user,         &row.databaseUser, &row.machine,
                          &row.action,   &row.record,       &row.column,       &row.oldValue,
                          &row.newValue, &row.valuesDigest, &row.recordValues, &row.hash};
    for (int i = 0; i < 12; ++i)
        *fields[i] = query.value(i + 1);
    return row;
}

QString AuditChain::hashOf(const QString &previousHash, const Row &row)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(previousHash.toLatin1());
    hash.addData(QByteArray::number(row.entry));
    for (const QVariant *field :
         {&row.time, &row.user, &row.databaseUser, &row.machine, &row.action, &row.record,
          &row.column, &row.oldValue, &row.newValue, &row.valuesDigest, &row.recordValues}) {
        // Each field with its length, an empty field apart from a missing one:
        // no text can pass for its neighbour.
        if (field->isNull()) {
            hash.addData(QByteArrayView("|-"));
            continue;
        }
        const QByteArray bytes = field->toString().toUtf8();
        hash.addData(QByteArray("|") + QByteArray::number(bytes.size()) + ':' + bytes);
    }
    return QString::fromLatin1(hash.result().toHex());
}

AuditChain::Head AuditChain::head(QSqlQuery &query)
{
    if (!hasChainColumns(query))
        return {};
    SqlStatement::exec(query,
                       QStringLiteral("SELECT \"Entry\", \"Hash\" FROM \"SamAudit\" WHERE "
                                      "\"Hash\" IS NOT NULL ORDER BY \"Entry\" DESC LIMIT 1"));
    Head head;
    if (query.next())
        head = {query.value(0).toLongLong(), query.value(1).toString()};
    query.finish();
    return head;
}

QString AuditChain::tailProblem(QSqlQuery &query)
{
    if (!hasChainColumns(query))
        return QString();
    const QList<Row> rows = lastRows(query, 2);
    if (rows.isEmpty() || rows.first().hash.isNull())
        return QString();
    const Row &last = rows.first();
    const QString previous = rows.size() > 1 ? text(rows.at(1).hash) : QString();
    if (hashOf(previous, last) != last.hash.toString())
        return QStringLiteral("the audit trail's last entry (%1) does not fit its chain: an "
                              "entry was changed or taken out")
            .arg(last.entry);
    if (!last.record.isNull() && !last.valuesDigest.isNull())
        return recordBreak(query, last.record.toLongLong(), last);
    return QString();
}

AuditChain::Verdict AuditChain::verify(QSqlQuery &query)
{
    Verdict verdict;
    if (!hasChainColumns(query))
        return verdict;
    query.setForwardOnly(true);
    SqlStatement::exec(
        query, QStringLiteral("SELECT %1 FROM \"SamAudit\" ORDER BY \"Entry\"").arg(columns()));
    QString previous;
    qint64 previousEntry = 0;
    // The last row that vouched for each record since the last reset (a
    // reset drops every record before it).
    QHash<qint64, Row> lastWord;
    while (query.next()) {
        const Row row = rowFrom(query);
        verdict.lastEntry = row.entry;
        if (row.hash.isNull()) {
            if (verdict.firstChainedEntry == 0) {
                ++verdict.earlierEntries;
                continue;
            }
            verdict.firstBreak =
                QStringLiteral("audit entry %1 has lost its hash: it was changed").arg(row.entry);
            break;
        }
        const bool first = verdict.firstChainedEntry == 0;
        if (first)
            verdict.firstChainedEntry = row.entry;
        if (hashOf(previous, row) != row.hash.toString()) {
            verdict.firstBreak =
                !first && row.entry != previousEntry + 1
                    ? QStringLiteral("audit entry %1 is missing (the trail goes from %2 to %3)")
                          .arg(previousEntry + 1)
                          .arg(previousEntry)
                          .arg(row.entry)
                    : QStringLiteral("audit entry %1 was changed, or one before it taken out")
                          .arg(row.entry);
            break;
        }
        previous = row.hash.toString();
        previousEntry = row.entry;
        verdict.head = {row.entry, previous};
        if (row.action.toString() == u"reset")
            lastWord.clear();
        if (!row.record.isNull() && !row.valuesDigest.isNull()) {
            lastWord.insert(row.record.toLongLong(), row);
            if (row.action.toString() == u"append" && verdict.firstCoveredRecord == 0)
                verdict.firstCoveredRecord = row.record.toLongLong();
        }
    }
    query.finish();
    query.setForwardOnly(false);
    if (!verdict.firstBreak.isEmpty())
        return verdict;

    // Every record the tables hold, and every one the trail vouched for.
    QSet<qint64> numbers;
    SqlStatement::exec(query, QStringLiteral("SELECT \"Record\" FROM \"SamRecords\" UNION SELECT "
                                             "\"idxRec#\" FROM \"SamData\" WHERE \"idxRec#\" NOT "
                                             "IN (SELECT \"idxRec#\" FROM \"SamRecords\" WHERE "
                                             "\"idxRec#\" IS NOT NULL)"));
    while (query.next())
        numbers.insert(query.value(0).toLongLong());
    query.finish();
    for (auto it = lastWord.cbegin(); it != lastWord.cend(); ++it)
        numbers.insert(it.key());
    QList<qint64> ordered(numbers.cbegin(), numbers.cend());
    std::sort(ordered.begin(), ordered.end());
    for (const qint64 record : std::as_const(ordered)) {
        const auto word = lastWord.constFind(record);
        if (word == lastWord.cend()) {
            if (verdict.firstCoveredRecord > 0 && record >= verdict.firstCoveredRecord) {
                verdict.firstBreak = QStringLiteral("record %1: in the archive but not in the "
                                                    "audit trail (added outside the program)")
                                         .arg(record);
                return verdict;
            }
            ++verdict.recordsNotCovered;
            continue;
        }
        ++verdict.recordsChecked;
        verdict.firstBreak = recordBreak(query, record, *word);
        if (!verdict.firstBreak.isEmpty())
            return verdict;
    }
    return verdict;
}

} // namespace lumen::ledgerly
