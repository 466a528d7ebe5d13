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
 */
class AuditTrail
{
public:
    static QString table() { return QStringLiteral("SamAudit"); }

    /** Makes the table when `existing` lacks it. */
    static void createMissing(QSqlQuery &query, bool server, const QStringList &existing);

    /** One entry of the trail; `record` is the record number ("idxRec#" and "Record"). */
    struct Entry
    {
        QString action; ///< "append", "edit", "delete", "reset", "export", "supersede"
        QVariant record = QVariant();
        QString column = QString();
        QVariant oldValue = QVariant();
        QVariant newValue = QVariant();
    };
    /** Adds `entry` with the time (UTC offset), the OS user and the machine. */
    static void add(QSqlQuery &query, const Entry &entry);

    /** The local time with its UTC offset, e.g. "2026-12-08T04:05:06+01:00". */
    static QString timeWithOffset();
    /** The user the process runs as. */
    static QString osUser();
};

} // namespace lumen::ledgerly
