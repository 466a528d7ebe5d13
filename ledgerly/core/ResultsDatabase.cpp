#include "ledgerly/core/ResultsDatabase.h"

#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "ledgerly/core/AuditTrail.h"
#include "ledgerly/core/DatabaseLocation.h"
#include "ledgerly/core/LongTables.h"
#include "ledgerly/core/ResultColumns.h"
#include "ledgerly/core/SqlStatement.h"
#include "ledgerly/core/WideTableNotes.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

namespace lumen::ledgerly {

namespace {

const QString kTable = QStringLiteral("SamData");

QStringList archiveTables()
{
    return {kTable, LongTables::recordsTable(), LongTables::resultsTable()};
}

// Any key will do as long as every station uses the same one: it serialises
// making and dropping the tables on a server.
constexpr int kSchemaLockKey = 0x4c656467;

[[noreturn]] void fail(const QSqlError &error, bool server)
{
    SqlStatement::fail(error, server);
}

void exec(QSqlQuery &query, const QString &sql)
{
    SqlStatement::exec(query, sql);
}

QString quoted(const QString &identifier)
{
    return SqlStatement::quoted(identifier);
}

QString createTableSql()
{
    const QString value = QStringLiteral("VARCHAR(%1)").arg(ResultsDatabase::kResultColumnSize);
    return QStringLiteral("CREATE TABLE \"SamData\" ("
                          "\"idxRec#\" SMALLINT, "
                          "\"File Name\" VARCHAR(255), "
                          "\"ID Text\" VARCHAR(128), "
                          "\"Date & time\" VARCHAR(30), "
                          "\"Sample Date\" VARCHAR(24), "
                          "\"Counting Time\" %1, "
                          "\"DT %\" %1, "
                          "\"Superseded By\" BIGINT)")
        .arg(value);
}

QString textOf(float value)
{
    return lumen::shortSingleText(value);
}

} // namespace

const QStringList &ResultsDatabase::fixedColumns()
{
    static const QStringList columns{QStringLiteral("idxRec#"),     QStringLiteral("File Name"),
                                     QStringLiteral("ID Text"),     QStringLiteral("Date & time"),
                                     QStringLiteral("Sample Date"), QStringLiteral("Counting Time"),
                                     QStringLiteral("DT %")};
    return columns;
}

ResultsDatabase::ResultsDatabase(const QString &path)
    : m_server(DatabaseLocation::isServerUrl(path))
{
    if (!m_server) {
        // The engine would make any missing file; a folder that is not there, or a
        // path naming a folder, is a path that cannot be opened.
        const QFileInfo info(path);
        if (path.isEmpty())
            throw lumen::Failure(QStringLiteral("Bad file name or number"));
        if (info.isDir())
            throw lumen::Failure(QStringLiteral("Path is a folder"));
        if (!info.absoluteDir().exists())
            throw lumen::Failure(QStringLiteral("Path not found"));
    }

    static QAtomicInt serial;
    m_connectionName = QStringLiteral("ledgerly-results-%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(serial.fetchAndAddRelaxed(1));
    try {
        m_db = DatabaseLocation::addConnection(path, m_connectionName);
    } catch (const lumen::Failure &) {
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
    if (!m_server)
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_db.open()) {
        const QSqlError error = m_db.lastError();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw lumen::Failure(error.databaseText().isEmpty() ? error.text()
                                                            : error.databaseText().trimmed());
    }
    if (m_server) {
        // A station that waits on another's table lock gives up after a while
        // rather than for ever; the retry loop then tries again.
        QSqlQuery query(m_db);
        exec(query, QStringLiteral("SET lock_timeout = '%1ms'").arg(kRetryBudgetMs / 4));
        // A reset's DROP ... IF EXISTS of a table not there is no news to the
        // operator; warnings and errors still come through.
        exec(query, QStringLiteral("SET client_min_messages = warning"));
    }
}

ResultsDatabase::~ResultsDatabase()
{
    // Closing ends any transaction a failure left open, without committing it.
    if (m_db.isOpen())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

template <typename Work> auto ResultsDatabase::withRetry(Work work)
{
    QDeadlineTimer deadline(kRetryBudgetMs);
    int pauseMs = 5;
    for (;;) {
        try {
            return work();
        } catch (const RetryableFailure &failure) {
            m_db.rollback();
            if (deadline.hasExpired())
                throw lumen::Failure(failure.description());
            // A random pause keeps processes that collided from colliding again.
            QThread::msleep(QRandomGenerator::global()->bounded(pauseMs) + 1);
            pauseMs = std::min(pauseMs * 2, 200);
        } catch (const lumen::Failure &) {
            m_db.rollback();
            throw;
        }
    }
}

QString ResultsDatabase::tableName() const
{
    // The server folds an unquoted name to lower case when the driver looks it up.
    return m_server ? QStringLiteral("\"SamData\"") : kTable;
}

void ResultsDatabase::create(const QString &path)
{
    // The tables are replaced inside the file rather than the file deleted:
    // an append that holds the file or waits on it then lands whole either
    // before the reset or after it, in the fresh tables, instead of writing
    // into a file that is no longer there.
    try {
        ResultsDatabase db(path);
        db.withRetry([&db] { db.createSchemaOnce(false); });
        return;
    } catch (const NotADatabase &) {
    }
    if (!QFile::remove(path))
        throw lumen::Failure(QStringLiteral("Could not create database"));
    ResultsDatabase db(path);
    db.withRetry([&db] { db.createSchemaOnce(false); });
}

bool ResultsDatabase::ensureSchema()
{
    return withRetry([this] { return createSchemaOnce(true); });
}

bool ResultsDatabase::createSchemaOnce(bool onlyWhenMissing)
{
    if (!m_db.transaction())
        fail(m_db.lastError(), m_server);
    QSqlQuery query(m_db);
    if (m_server) {
        // Held to the end of the transaction: one station at a time makes or
        // drops the table, and appends wait on the table lock meanwhile.
        exec(query, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLockKey));
    }
    const QStringList existing = m_db.tables();
    if (onlyWhenMissing && existing.contains(kTable)) {
        // An archive made before the long tables, the audit trail or the
        // record's hash and run gets them now.
        LongTables::createMissing(query, m_server, existing, recordColumnNames());
        AuditTrail::createMissing(query, m_server, existing);
        if (!columnNames().contains(supersededColumn()))
            addSupersededMark(query);
        if (!m_db.commit())
            fail(m_db.lastError(), m_server);
        return false;
    }
    if (!onlyWhenMissing) {
        // Nothing of the old archive stays: a file loses every table; a
        // server, which other programs may share, loses the archive's own.
        const QStringList tables = m_server ? archiveTables() : m_db.tables(QSql::Tables);
        for (const QString &table : tables) {
            // The audit trail outlives every reset: it is what shows the reset.
            if (!table.startsWith(u"sqlite_") && table != AuditTrail::table())
                exec(query, QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoted(table)));
        }
    }
    exec(query, createTableSql());
    exec(query, QStringLiteral("CREATE INDEX \"idxSeq\" ON \"SamData\" (\"idxRec#\")"));
    LongTables::createMissing(query, m_server, QStringList());
    AuditTrail::createMissing(query, m_server, existing);
    if (!onlyWhenMissing)
        AuditTrail::add(query, {QStringLiteral("reset")});
    if (!m_db.commit())
        fail(m_db.lastError(), m_server);
    return true;
}

void ResultsDatabase::addSupersededMark(QSqlQuery &query)
{
    exec(query, QStringLiteral("ALTER TABLE \"SamData\" ADD COLUMN \"Superseded By\" BIGINT"));
    // Records superseded before the wide table had the mark get it now,
    // before any audit row vouches for their values.
    exec(query, QStringLiteral("UPDATE \"SamData\" SET \"Superseded By\" = (SELECT "
                               "MAX(s.\"Superseded By\") FROM \"SamRecords\" s WHERE "
                               "s.\"idxRec#\" = \"SamData\".\"idxRec#\") WHERE \"idxRec#\" IN "
                               "(SELECT \"idxRec#\" FROM \"SamRecords\" WHERE \"Superseded By\" "
                               "IS NOT NULL)"));
}

void ResultsDatabase::checkReadable()
{
    withRetry([this] {
        QSqlQuery query(m_db);
        exec(query, QStringLiteral("SELECT COUNT(*) FROM \"SamData\""));
        return 0;
    });
}

void ResultsDatabase::addAuditEntry(const AuditTrail::Entry &entry)
{
    withRetry([&] {
        if (!m_db.transaction())
            fail(m_db.lastError(), m_server);
        QSqlQuery query(m_db);
        AuditTrail::createMissing(query, m_server, m_db.tables());
        AuditTrail::add(query, entry);
        if (!m_db.commit())
            fail(m_db.lastError(), m_server);
        return 0;
    });
}

AuditChain::Head ResultsDatabase::auditHead()
{
    return withRetry([this] {
        QSqlQuery query(m_db);
        return m_db.tables().contains(AuditTrail::table()) ? AuditChain::head(query)
                                                           : AuditChain::Head();
    });
}

QString ResultsDatabase::auditTailProblem()
{
    return withRetry([this] {
        QSqlQuery query(m_db);
        return m_db.tables().contains(AuditTrail::table()) ? AuditChain::tailProblem(query)
                                                           : QString();
    });
}

AuditChain::Verdict ResultsDatabase::verify()
{
    return withRetry([this] {
        QSqlQuery query(m_db);
        if (!m_db.tables().contains(AuditTrail::table()))
            return AuditChain::Verdict();
        // One snapshot for the walk: a file holds its read lock, a server
        // sees the rows as they stood when the walk began.
        if (!m_db.transaction())
            fail(m_db.lastError(), m_server);
        if (m_server)
            exec(query,
                 QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
        AuditChain::Verdict verdict = AuditChain::verify(query);
        query.finish();
        m_db.rollback();
        return verdict;
    });
}

QStringList ResultsDatabase::columnNames() const
{
    const QSqlRecord record = m_db.record(tableName());
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

int ResultsDatabase::recordCount()
{
    return withRetry([this] {
        QSqlQuery query(m_db);
        exec(query, QStringLiteral("SELECT COUNT(*) FROM \"SamData\""));
        query.next();
        return query.value(0).toInt();
    });
}

AppendCounts ResultsDatabase::append(const NewRecord &record, bool again)
{
    return withRetry([&] { return appendOnce(record, again); });
}

bool ResultsDatabase::tryInSavepoint(QSqlQuery &query, const QString &sql,
                                     const QVariantList &bound, QString *error, bool keep)
{
    exec(query, QStringLiteral("SAVEPOINT \"wide\""));
    // A server prepares only statements that take values (not ALTER TABLE).
    bool done = bound.isEmpty() ? query.exec(sql) : query.prepare(sql);
    if (done && !bound.isEmpty()) {
        for (const QVariant &value : bound)
            query.addBindValue(value);
        done = query.exec();
    }
    if (!done) {
        const QSqlError failure = query.lastError();
        // A full disk or a failing device ends the transaction in the
        // engine: that is the failure to report, not the savepoint it took.
        if (SqlStatement::isRetryable(failure, m_server) ||
            SqlStatement::isResourceFailure(failure, m_server))
            fail(failure, m_server);
        *error =
            failure.databaseText().isEmpty() ? failure.text() : failure.databaseText().trimmed();
    }
    query.finish();
    if (!done || !keep)
        exec(query, QStringLiteral("ROLLBACK TO SAVEPOINT \"wide\""));
    exec(query, QStringLiteral("RELEASE SAVEPOINT \"wide\""));
    return done;
}

// What the column pass found, for the insert of the wide record.
struct ResultsDatabase::WidePass
{
    QStringList columns;
    QHash<QString, QString> lowerCase; ///< lower-case name to the column's name
    QHash<QString, float> values;
    QStringList valueOrder;
    WideTableNotes notes;
};

int ResultsDatabase::lockForAppend(QSqlQuery &query)
{
    if (!m_db.transaction())
        fail(m_db.lastError(), m_server);
    // Reading the table inside the transaction holds it against other
    // writers, so the columns and the numbers read next stay true until
    // commit. A server lets readers through, so there the table is locked
    // against other appends (the lock conflicts with itself) but not against
    // the viewer.
    if (m_server) {
        // Shared with other appends, exclusive against a reset: an append
        // never waits on a table that a reset is dropping.
        exec(query, QStringLiteral("SELECT pg_advisory_xact_lock_shared(%1)").arg(kSchemaLockKey));
        exec(query, QStringLiteral("LOCK TABLE \"SamData\" IN SHARE ROW EXCLUSIVE MODE"));
    }
    exec(query, QStringLiteral("SELECT COUNT(*) FROM \"SamData\""));
    query.next();
    const int count = query.value(0).toInt();
    query.finish();
    const QStringList tables = m_db.tables();
    LongTables::createMissing(query, m_server, tables, recordColumnNames());
    AuditTrail::createMissing(query, m_server, tables);
    return count;
}

QStringList ResultsDatabase::recordColumnNames() const
{
    const QSqlRecord record =
        m_db.record(m_server ? QStringLiteral("\"SamRecords\"") : LongTables::recordsTable());
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    return names;
}

namespace {

/**
 * A record archived by a line a run plays, in one pass of its open loops:
 * such a line archives once per pass, so its record from an earlier play of
 * the same pass (a resumed run plays the interrupted pass again, or the
 * set-up before it) is the one this record replaces. None outside a run.
 */
bool fromARunLine(const NewRecord &record)
{
    return !record.run.isEmpty() && record.runLine > 0;
}

} // namespace

void ResultsDatabase::refuseArchivedAgain(QSqlQuery &query, const NewRecord &record)
{
    if (record.sha256.isEmpty())
        return;
    // The same line of the same pass archiving its report anew supersedes
    // the earlier record rather than being refused.
    query.prepare(QStringLiteral("SELECT \"Record\", \"Run\", \"Run Pass\", \"Run Line\" FROM "
                                 "\"SamRecords\" WHERE \"Sha256\" = ? AND \"Mode\" = ? AND "
                                 "\"Superseded By\" IS NULL ORDER BY \"Record\""));
    query.addBindValue(record.sha256);
    query.addBindValue(record.mode);
    SqlStatement::exec(query);
    while (query.next()) {
        const bool replayed = fromARunLine(record) && query.value(1).toString() == record.run &&
                              query.value(2).toString() == record.runPass &&
                              query.value(3).toInt() == record.runLine;
        if (!replayed) {
            const qint64 earlier = query.value(0).toLongLong();
            query.finish();
            throw AlreadyArchived(earlier);
        }
    }
    query.finish();
}

qint64 ResultsDatabase::nextRecordNumber(QSqlQuery &query)
{
    // One past every number ever given, including those of records deleted
    // or reset since: a number is never given twice. The audit trail names
    // every record it has seen and outlives every reset (its index on
    // "Record" finds the highest at once).
    exec(query, QStringLiteral("SELECT MAX(n) FROM ("
                               "SELECT MAX(\"Record\") AS n FROM \"SamRecords\" "
                               "UNION ALL SELECT MAX(\"idxRec#\") FROM \"SamData\" "
                               "UNION ALL SELECT MAX(\"Record\") FROM \"SamAudit\") AS numbers"));
    query.next();
    const qint64 number = query.value(0).toLongLong() + 1;
    query.finish();
    return number;
}

ResultsDatabase::WidePass ResultsDatabase::addWideColumns(QSqlQuery &query, const NewRecord &record,
                                                          bool wide)
{
    WidePass pass;
    pass.columns = columnNames();
    if (pass.columns.isEmpty())
        throw lumen::Failure(QStringLiteral("Table 'SamData' not found"));
    for (const QString &column : std::as_const(pass.columns))
        pass.lowerCase.insert(column.toLower(), column);

    // What the wide table cannot take is only left out of it: the long tables
    // get every value. A record the wide table cannot take needs no new
    // columns there.
    const int maxColumns = m_server ? kMaxServerColumns : kMaxFileColumns;
    for (const NewRecord::Value &value : wide ? record.values : QList<NewRecord::Value>()) {
        if (!value.wide)
            continue; // told once for the report by the caller
        if (!ResultColumns::isAcceptableName(value.column) ||
            fixedColumns().contains(value.column) || value.column == supersededColumn() ||
            (m_server && value.column.toUtf8().size() > kMaxServerNameBytes)) {
            // A server would also cut a long name, and the cut name is another column.
            pass.notes.leftOut(QStringLiteral("names it cannot hold"), value.column);
            continue;
        }
        // The file's names ignore letter case; the server's quoted names keep it,
        // so there a name that differs only in case is a column of its own.
        const bool exists = pass.columns.contains(value.column);
        if (!m_server && !exists && pass.lowerCase.contains(value.column.toLower())) {
            pass.notes.leftOut(QStringLiteral("names differing from a column only in letter case"),
                               value.column);
            continue;
        }
        if (!exists) {
            if (pass.columns.size() >= maxColumns) {
                pass.notes.leftOut(QStringLiteral("its limit of %1 columns").arg(maxColumns),
                                   value.column);
                continue;
            }
            QString refusal;
            if (!tryInSavepoint(query,
                                QStringLiteral("ALTER TABLE \"SamData\" ADD COLUMN %1 VARCHAR(%2)")
                                    .arg(quoted(value.column))
                                    .arg(kResultColumnSize),
                                {}, &refusal)) {
                pass.notes.leftOut(refusal, value.column);
                continue;
            }
            pass.columns << value.column;
            pass.lowerCase.insert(value.column.toLower(), value.column);
        }
        if (!pass.values.contains(value.column))
            pass.valueOrder << value.column;
        pass.values.insert(value.column, value.value);
    }
    return pass;
}

bool ResultsDatabase::insertWideRecord(QSqlQuery &query, const NewRecord &record, int number,
                                       WidePass &pass)
{
    const QVariantList fixed{number,
                             record.fileName,
                             record.idText,
                             record.dateAndTime,
                             record.sampleDate,
                             textOf(record.countingTime),
                             textOf(record.deadTime)};
    // `keep` false only tries whether the row fits and leaves nothing.
    const auto insertWith = [&](qsizetype valueCount, QString *refusal, bool keep = true) {
        QStringList quotedNames;
        for (const QString &name : fixedColumns())
            quotedNames << quoted(name);
        QVariantList bound = fixed;
        for (qsizetype i = 0; i < valueCount; ++i) {
            quotedNames << quoted(pass.valueOrder.at(i));
            bound << textOf(pass.values.value(pass.valueOrder.at(i)));
        }
        const QStringList marks(quotedNames.size(), QStringLiteral("?"));
        return tryInSavepoint(query,
                              QStringLiteral("INSERT INTO \"SamData\" (%1) VALUES (%2)")
                                  .arg(quotedNames.join(u", "), marks.join(u", ")),
                              bound, refusal, keep);
    };
    QString refusal;
    if (insertWith(pass.valueOrder.size(), &refusal))
        return true;
    // A row too large for the server's page: the most values that fit, found
    // by halving, in report order.
    const QString firstRefusal = refusal;
    qsizetype fits = -1, tooMany = pass.valueOrder.size();
    while (tooMany - fits > 1) {
        const qsizetype middle = (fits + tooMany) / 2;
        QString ignored;
        if (middle >= 0 && insertWith(middle, &ignored, false))
            fits = middle;
        else
            tooMany = middle;
    }
    if (fits < 0 || !insertWith(fits, &refusal)) {
        pass.notes.recordLeftOut(firstRefusal);
        return false;
    }
    for (qsizetype i = fits; i < pass.valueOrder.size(); ++i)
        pass.notes.leftOut(firstRefusal, pass.valueOrder.at(i));
    return true;
}

QList<qint64> ResultsDatabase::supersedeEarlier(QSqlQuery &query, const NewRecord &record,
                                                qint64 number)
{
    QList<qint64> earlier;
    if (!fromARunLine(record))
        return earlier;
    // A run resumed after a crash plays the interrupted pass again: its new
    // record of the same line and mode replaces the one the interrupted pass
    // left. Another line of the pass archives a record of its own.
    query.prepare(QStringLiteral("SELECT \"Record\" FROM \"SamRecords\" WHERE \"Run\" = ? AND "
                                 "COALESCE(\"Run Pass\", '') = ? AND \"Run Line\" = ? AND "
                                 "\"Mode\" = ? AND \"Record\" <> ? AND \"Superseded By\" IS NULL "
                                 "ORDER BY \"Record\""));
    for (const QVariant &value :
         QVariantList{record.run, record.runPass, record.runLine, record.mode, QVariant(number)})
        query.addBindValue(value);
    SqlStatement::exec(query);
    while (query.next())
        earlier << query.value(0).toLongLong();
    query.finish();
    for (const qint64 old : std::as_const(earlier)) {
        query.prepare(
            QStringLiteral("UPDATE \"SamRecords\" SET \"Superseded By\" = ? WHERE \"Record\" = ?"));
        query.addBindValue(number);
        query.addBindValue(old);
        SqlStatement::exec(query);
        query.prepare(QStringLiteral("UPDATE \"SamData\" SET \"Superseded By\" = ? WHERE "
                                     "\"idxRec#\" = (SELECT \"idxRec#\" FROM \"SamRecords\" WHERE "
                                     "\"Record\" = ?)"));
        query.addBindValue(number);
        query.addBindValue(old);
        SqlStatement::exec(query);
        AuditTrail::add(query, {QStringLiteral("supersede"), old, QStringLiteral("Superseded By"),
                                QVariant(), number});
    }
    return earlier;
}

AppendCounts ResultsDatabase::appendOnce(const NewRecord &record, bool again)
{
    QSqlQuery query(m_db);
    const int countBefore = lockForAppend(query);
    if (!again)
        refuseArchivedAgain(query, record);
    const qint64 number = nextRecordNumber(query);
    bool wide = number <= kMaxRecordNumber;
    WidePass pass = addWideColumns(query, record, wide);
    if (!wide) {
        pass.notes.recordLeftOut(
            QStringLiteral("the archive is full: record numbers end at %1").arg(kMaxRecordNumber));
    } else {
        wide = insertWideRecord(query, record, int(number), pass);
    }

    const QString archived = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    LongTables::insertRecord(query, record, number,
                             wide ? std::optional<int>(int(number)) : std::nullopt, archived);
    LongTables::insertResults(query, number, record);
    AppendCounts counts;
    counts.superseded = supersedeEarlier(query, record, number);
    AuditTrail::add(query, {QStringLiteral("append"), number, QString(), QVariant(),
                            lumen::trimBlanks(record.idText)});
    if (!m_db.commit())
        fail(m_db.lastError(), m_server);

    counts.fieldCount = int(pass.columns.size());
    counts.recordCount = wide ? countBefore + 1 : countBefore;
    counts.record = number;
    counts.wideRecord = wide;
    counts.wideLeftOut = pass.notes.lines();
    return counts;
}

} // namespace lumen::ledgerly
