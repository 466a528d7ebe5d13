#pragma once

#include "ledgerly/core/ResultsDatabase.h"

#include <QSqlQuery>
#include <QStringList>
#include <optional>

namespace lumen::ledgerly {

/**
 * The long tables beside "SamData", written in the same transaction as the
 * wide record so that no value is lost to the wide table's limits:
 * "SamRecords", one row per appended report, and "SamResults", one row per
 * value of the report.
 */
class LongTables
{
public:
    static QString recordsTable() { return QStringLiteral("SamRecords"); }
    static QString resultsTable() { return QStringLiteral("SamResults"); }

    /**
     * Makes whichever of the two tables (and their indexes) `existing` lacks,
     * and adds to a "SamRecords" of an older layout the columns it lacks
     * (`recordColumns`, its columns now), so that last month's archive keeps working.
     */
    static void createMissing(QSqlQuery &query, bool server, const QStringList &existing,
                              const QStringList &recordColumns = QStringList());

    /**
     * Adds the report's "SamRecords" row under `number` ("Record"). `wideNumber`
     * is the wide record's "idxRec#", nothing when "SamData" could not take it.
     */
    static void insertRecord(QSqlQuery &query, const NewRecord &record, qint64 number,
                             std::optional<int> wideNumber, const QString &archivedUtc);
    /** Adds one "SamResults" row per value of `record`, under `recordId`. */
    static void insertResults(QSqlQuery &query, qint64 recordId, const NewRecord &record);

    /** A single-precision value as the double the wide table's text reads as. */
    static double asStored(float value);
};

} // namespace lumen::ledgerly
