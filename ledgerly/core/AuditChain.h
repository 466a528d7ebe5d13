#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace lumen::ledgerly {

/**
 * The hash chain of "SamAudit". Each row's "Hash" is the SHA-256 of the
 * hash of the row before it and of the row's own fields, its record's
 * values digest (RecordDigest) among them. A row whose hash is empty was
 * written before the archive had a chain; the first change after that starts
 * it. Checking walks the rows in entry order and then compares every record
 * with the digest of its last audit row.
 */
class AuditChain
{
public:
    /** One row of the trail as stored. */
    struct Row
    {
        qint64 entry = 0;
        QVariant time, user, databaseUser, machine, action, record, column, oldValue, newValue,
            valuesDigest, recordValues, hash;
    };
    /** The stored columns of a Row, in its order, for a SELECT. */
    static QString columns();
    static Row rowFrom(const QSqlQuery &query);
    /** The hash `row` must carry after a row hashed `previousHash` (empty: the chain's start). */
    static QString hashOf(const QString &previousHash, const Row &row);

    /** The last chained row: its entry (0 when none) and hash. */
    struct Head
    {
        qint64 entry = 0;
        QString hash;
    };
    static Head head(QSqlQuery &query);

    /**
     * A cheap look at the chain's end: the last row against the one before
     * it, and its record against the digest it carries. Empty when they
     * agree (or there is no chain yet), else what is wrong.
     */
    static QString tailProblem(QSqlQuery &query);

    /** What a whole walk found. */
    struct Verdict
    {
        QString firstBreak;           ///< empty when everything agrees
        qint64 firstChainedEntry = 0; ///< 0: no chained row yet
        qint64 lastEntry = 0;
        qint64 earlierEntries = 0;     ///< rows written before the chain started
        qint64 firstCoveredRecord = 0; ///< 0: no record appended since the chain started
        qint64 recordsChecked = 0;
        qint64 recordsNotCovered = 0; ///< records archived before the chain started
        Head head;
    };
    static Verdict verify(QSqlQuery &query);
};

} // namespace lumen::ledgerly
