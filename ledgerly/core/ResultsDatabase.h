#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace ledgerly {

/** One new record of "SamData": the header texts and the nuclide values in report order. */
struct NewRecord
{
    QString fileName;          ///< "File Name"
    QString idText;            ///< "ID Text"
    QString dateAndTime;       ///< "Date & time"
    QString sampleDate;        ///< "Sample Date"
    float countingTime = 0.0f; ///< "Counting Time", seconds
    float deadTime = 0.0f;     ///< "DT %", percent

    struct Value
    {
        QString column;
        float value = 0.0f;
    };
    /** Result columns in report order; a later value for the same column wins. */
    QList<Value> values;
};

/** Column and record counts after an append, for the window's labels. */
struct AppendCounts
{
    int fieldCount = 0;
    int recordCount = 0;
};

/**
 * The results database: an SQLite file holding the table "SamData" with
 * seven fixed columns and one text column per nuclide result. Only SQL that
 * a server database accepts as well is used (quoted identifiers, standard
 * types). Every change runs in one transaction, retried while another
 * process holds the file, so concurrent appends all land.
 */
class ResultsDatabase
{
public:
    static constexpr int kResultColumnSize = 10; ///< characters of a nuclide column
    static constexpr int kMaxRecordNumber = 32767;

    /** The fixed columns in table order. */
    static const QStringList &fixedColumns();

    /** Opens the file at `path`; nothing is read yet. Throws Failure with the engine's description.
     */
    explicit ResultsDatabase(const QString &path);
    ~ResultsDatabase();
    ResultsDatabase(const ResultsDatabase &) = delete;
    ResultsDatabase &operator=(const ResultsDatabase &) = delete;

    /**
     * Replaces the file at `path` with a fresh, empty database. Throws Failure
     * when the old file cannot be removed or the new one cannot be made.
     */
    static void create(const QString &path);

    /** Makes the table and index when the file has none (a file another process may be making too).
     */
    void ensureSchema();
    /** Checks that the file is a database holding "SamData"; throws Failure otherwise. */
    void checkReadable();

    /**
     * Adds the missing result columns and the record in one transaction.
     * Names the table cannot hold, or that differ from an existing column
     * only in letter case, are skipped with their values. Throws Failure and
     * leaves the file as it was when anything fails.
     */
    AppendCounts append(const NewRecord &record);

    QStringList columnNames() const;
    int recordCount();

    /** Milliseconds a statement waits on a file held by another process before it gives up. */
    static constexpr int kBusyTimeoutMs = 2000;
    /** Total milliseconds an operation keeps retrying while the file stays busy. */
    static constexpr int kRetryBudgetMs = 120000;

private:
    template <typename Work> auto withRetry(Work work);
    AppendCounts appendOnce(const NewRecord &record);
    void createSchemaOnce(bool onlyWhenMissing);

    QString m_connectionName;
    QSqlDatabase m_db;
};

} // namespace ledgerly
