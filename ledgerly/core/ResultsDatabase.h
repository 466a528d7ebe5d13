#pragma once

#include "common/core/Failure.h"
#include "ledgerly/core/AuditChain.h"
#include "ledgerly/core/AuditTrail.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace lumen::ledgerly {

/** One new record of "SamData": the header texts and the nuclide values in report order. */
struct NewRecord
{
    QString fileName;          ///< "File Name"
    QString idText;            ///< "ID Text"
    QString dateAndTime;       ///< "Date & time"
    QString sampleDate;        ///< "Sample Date"
    float countingTime = 0.0f; ///< "Counting Time", seconds
    float deadTime = 0.0f;     ///< "DT %", percent

    QString mode = QStringLiteral("ACTIVITY"); ///< "ACTIVITY", "NET", "GROSS" or "BKG"

    struct Value
    {
        QString column;
        float value = 0.0f;
        QString nuclide = QString(); ///< the block's nuclide, trimmed
        int line = 0;                ///< the row's number within its block
        float energy = 0.0f;         ///< keV
        /** False for a block or row past the wide table's design (long tables only). */
        bool wide = true;
    };
    /** Result columns in report order; a later value for the same column wins. */
    QList<Value> values;

    QString sha256;  ///< of the report's bytes, hex; empty when not known
    QString run;     ///< the run that archived it (LUMEN_RUN), empty outside a run
    QString runPass; ///< the run's loop passes (LUMEN_RUN_PASS), e.g. "2.1"
    int runLine = 0; ///< the script line that started the archiving (LUMEN_RUN_LINE), 0 if none
};

/** The same report (same bytes, same mode) is archived already as `record`. */
class AlreadyArchived : public lumen::Failure
{
public:
    explicit AlreadyArchived(qint64 record)
        : lumen::Failure(QStringLiteral("already archived as record %1").arg(record)),
          m_record(record)
    {
    }
    qint64 record() const { return m_record; }

private:
    qint64 m_record;
};

/** Column and record counts after an append, for the window's labels. */
struct AppendCounts
{
    int fieldCount = 0;
    int recordCount = 0;      ///< records "SamData" holds after the append
    qint64 record = 0;        ///< the report's "Record" in "SamRecords" (its record number)
    bool wideRecord = true;   ///< "SamData" took the record
    QStringList wideLeftOut;  ///< what "SamData" could not take, one line per reason
    QList<qint64> superseded; ///< earlier records of the same run, pass and line, now superseded
};

/**
 * The results database: the table "SamData" with seven fixed columns and
 * one text column per nuclide result, in an SQLite file or on a PostgreSQL
 * server (see DatabaseLocation). The same SQL serves both (quoted
 * identifiers, standard types). Every change runs in one transaction,
 * retried while another process holds the file or the table, so concurrent
 * appends all land.
 */
class ResultsDatabase
{
public:
    /**
     * Characters of the value columns ("Counting Time", "DT %" and the nuclide
     * columns). Wider than the original 10 so that a single-precision text such
     * as "-1.234568E-05" is stored whole by a server that enforces the size.
     */
    static constexpr int kResultColumnSize = 16;
    /** Longest column name a server accepts, in UTF-8 bytes (longer ones it would cut). */
    static constexpr int kMaxServerNameBytes = 63;
    static constexpr int kMaxRecordNumber = 32767;
    /** Most columns of "SamData": the engines' limits (a file's 2000, a server's 1600). */
    static constexpr int kMaxFileColumns = 2000;
    static constexpr int kMaxServerColumns = 1600;

    /** The fixed columns in table order. */
    static const QStringList &fixedColumns();
    /**
     * The column of "SamData" that marks a superseded record with the number
     * of the record that replaced it (empty for a current one), so anything
     * reading the wide table can leave those rows out. A new table has it
     * after the fixed columns; an older one gets it at its end.
     */
    static QString supersededColumn() { return QStringLiteral("Superseded By"); }
    /** Columns of a fresh "SamData": the fixed ones and the superseded mark. */
    static int freshColumnCount() { return int(fixedColumns().size()) + 1; }

    /**
     * Opens the file or server at `path`; nothing is read yet. Throws Failure
     * with the engine's description.
     */
    explicit ResultsDatabase(const QString &path);
    ~ResultsDatabase();
    ResultsDatabase(const ResultsDatabase &) = delete;
    ResultsDatabase &operator=(const ResultsDatabase &) = delete;

    /**
     * Replaces the file at `path` with a fresh, empty database (on a server:
     * drops and makes the table). Throws Failure when the old file cannot be
     * removed or the new one cannot be made.
     */
    static void create(const QString &path);

    /**
     * Makes the table and index when there are none (another process may be
     * making them too). True when this call made them.
     */
    bool ensureSchema();
    /** Checks that the file is a database holding "SamData"; throws Failure otherwise. */
    void checkReadable();

    /**
     * Adds the missing result columns, the wide record and its rows of the
     * long tables in one transaction. What "SamData" cannot take (names it
     * cannot hold or that differ from a column only in letter case, columns
     * past its limit, a row too large, a record number past 32767) is left
     * out of the wide record only and told in wideLeftOut. Throws Failure and
     * leaves the file as it was when anything fails. The record number is one
     * past every number ever given (the audit trail remembers them across
     * resets and deletes), so none is given twice.
     * Unless `again`, a report whose bytes and mode are archived already is
     * refused (AlreadyArchived); an earlier record of the same run, pass and line is
     * marked superseded. The audit trail gets its rows in the same transaction.
     */
    AppendCounts append(const NewRecord &record, bool again = false);

    /** Adds one audit entry in a transaction of its own (an export, which changes nothing). */
    void addAuditEntry(const AuditTrail::Entry &entry);

    /** The audit chain's last chained entry and hash; entry 0 when there is none. Reads only. */
    AuditChain::Head auditHead();
    /** The cheap look at the chain's end (AuditChain::tailProblem); empty when it agrees. */
    QString auditTailProblem();
    /** Walks the whole chain and every record (AuditChain::verify). Reads only. */
    AuditChain::Verdict verify();

    QStringList columnNames() const;
    int recordCount();

    /** True on a PostgreSQL server, false for a file. */
    bool isServer() const { return m_server; }
    /** The table's name as the driver wants it (quoted where the driver would fold case). */
    QString tableName() const;
    /** The engine's own row key (a file's row id, a server's row address), in insertion order. */
    QString storageKey() const
    {
        return m_server ? QStringLiteral("ctid") : QStringLiteral("rowid");
    }
    /** The open connection, for the viewer's record set. */
    QSqlDatabase connection() const { return m_db; }

    /** Milliseconds a statement waits on a file held by another process before it gives up. */
    static constexpr int kBusyTimeoutMs = 2000;
    /** Total milliseconds an operation keeps retrying while the file stays busy. */
    static constexpr int kRetryBudgetMs = 120000;

private:
    template <typename Work> auto withRetry(Work work);
    struct WidePass;
    AppendCounts appendOnce(const NewRecord &record, bool again);
    // The steps of one append, in the order appendOnce takes them.
    /** Returns the number of records "SamData" holds. */
    int lockForAppend(QSqlQuery &query);
    void refuseArchivedAgain(QSqlQuery &query, const NewRecord &record);
    qint64 nextRecordNumber(QSqlQuery &query);
    WidePass addWideColumns(QSqlQuery &query, const NewRecord &record, bool wide);
    bool insertWideRecord(QSqlQuery &query, const NewRecord &record, int number, WidePass &pass);
    QList<qint64> supersedeEarlier(QSqlQuery &query, const NewRecord &record, qint64 number);
    QStringList recordColumnNames() const;
    bool createSchemaOnce(bool onlyWhenMissing);
    /** Gives a "SamData" without the superseded mark its column, filled from "SamRecords". */
    void addSupersededMark(QSqlQuery &query);
    /**
     * Runs `sql` inside a savepoint; false (rolled back, `error` set) when the
     * engine refuses it. With `keep` false a success is rolled back too.
     */
    bool tryInSavepoint(QSqlQuery &query, const QString &sql, const QVariantList &bound,
                        QString *error, bool keep = true);

    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_server = false;
};

} // namespace lumen::ledgerly
