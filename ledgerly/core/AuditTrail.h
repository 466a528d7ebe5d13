#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace lumen::ledgerly {

/**
 * The table "SamAudit": who changed what in the archive, when and from
 * what. Each row is written by the statement sequence of the change itself,
 * inside its transaction, so a change and its audit row land together or
 * not at all. A reset empties the results, never this table.
 *
 * Each row is chained (AuditChain): its "Hash" covers the row before's hash,
 * its own fields and the digest of its record's values after the change, so
 * a row changed or taken out, or a record changed outside the program,
 * shows. On a server the table takes inserts only, and the server itself
 * names the session's role in "Database User".
 */
class AuditTrail
{
public:
    static QString table() { return QStringLiteral("SamAudit"); }

    /**
     * Makes the table when `existing` lacks it, and gives a table of an older
     * layout the columns it lacks (its earlier rows stay unchained).
     */
    static void createMissing(QSqlQuery &query, bool server, const QStringList &existing);

    /** One entry of the trail; `record` is the record number ("Record" of "SamRecords"). */
    struct Entry
    {
        QString action; ///< "append", "edit", "delete", "reset", "export", "supersede"
        QVariant record = QVariant();
        QString column = QString();
        QVariant oldValue = QVariant();
        QVariant newValue = QVariant();
        /** Every value of a deleted record (RecordDigest::values), so it can be read back. */
        QString recordValues = QString();
    };
    /**
     * Adds `entry` with the time (UTC offset), the OS user, the database's
     * session user (a server's), the machine, the digest of the record's
     * values as they stand now, and the chain's hash. Waits for any other
     * writer of the trail, so the chain has one order.
     */
    static void add(QSqlQuery &query, const Entry &entry);

    /** The local time with its UTC offset, e.g. "2026-12-08T04:05:06+01:00". */
    static QString timeWithOffset();
    /** The user the process runs as. */
    static QString osUser();
};

} // namespace lumen::ledgerly
