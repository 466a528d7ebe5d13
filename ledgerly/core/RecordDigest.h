#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace lumen::ledgerly {

/**
 * What one record holds in each table, as the audit trail vouches for it:
 * its row of "SamData", its row of "SamRecords" and its rows of
 * "SamResults". Read from the engine (never from what the program meant to
 * write), so the digest taken after a change and the one taken when the
 * archive is checked later are made the same way.
 */
class RecordDigest
{
public:
    /** The tables a digest covers, in the order it names them. */
    static const QStringList &tables();

    /**
     * "SamData:<hex> SamRecords:<hex> SamResults:<hex>" for record `record`:
     * a table without rows of the record gives "-" for its part.
     */
    static QString of(QSqlQuery &query, qint64 record);

    /** The table whose part differs between two digests; empty when none does. */
    static QString differingTable(const QString &expected, const QString &actual);
    /** True when `digest`'s part for `table` says the record has no rows there. */
    static bool hasNoRows(const QString &digest, const QString &table);

    /**
     * Every value the record holds, as one JSON text: "SamRecords" and
     * "SamData" as objects of column to value, "SamResults" as an array of
     * its rows. Kept by a delete so that the record can be read back.
     */
    static QString values(QSqlQuery &query, qint64 record);
};

} // namespace lumen::ledgerly
