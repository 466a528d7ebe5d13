#include "ledgerly/core/ResultsDatabase.h"

#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "ledgerly/core/DatabaseLocation.h"
#include "ledgerly/core/ResultColumns.h"

#include <QAtomicInt>
#include <QCoreApplication>
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
    return {kTable};
}

// Another process holds the file or the table, or changed the table under
// us: the whole operation is rolled back and tried again.
class RetryableFailure : public lumen::Failure
{
public:
    using lumen::Failure::Failure;
};

// Any key will do as long as every station uses the same one: it serialises
// making and dropping the table on a server.
constexpr int kSchemaLockKey = 0x4c656467;

bool isRetryable(const QSqlError &error, bool server)
{
    if (server) {
        // Serialisation failure, deadlock, lock not available, and the
        // duplicates a concurrent table or column creation can leave.
        static const QStringList states{QStringLiteral("40001"), QStringLiteral("40P01"),
                                        QStringLiteral("55P03"), QStringLiteral("42701"),
                                        QStringLiteral("42P07"), QStringLiteral("23505")};
        return states.contains(error.nativeErrorCode());
    }
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    // SQLite's busy (5) and locked (6), extended codes included.
    if (ok && ((code & 0xff) == 5 || (code & 0xff) == 6))
        return true;
    const QString text = error.text();
    return text.contains(u"locked") || text.contains(u"busy") ||
           text.contains(u"duplicate column") || text.contains(u"already exists") ||
           text.contains(u"schema has changed");
}

bool isServerDriver(const QSqlDriver *driver)
{
    return driver && driver->dbmsType() == QSqlDriver::PostgreSQL;
}

// The file holds something other than a database: a reset replaces it whole.
class NotADatabase : public lumen::Failure
{
public:
    using lumen::Failure::Failure;
};

[[noreturn]] void fail(const QSqlError &error, bool server)
{
    const QString description =
        error.databaseText().isEmpty() ? error.text() : error.databaseText().trimmed();
    if (isRetryable(error, server))
        throw RetryableFailure(description);
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    // SQLite's "not a database" (26) and "malformed" (11).
    if (!server && ok && (code == 26 || code == 11))
        throw NotADatabase(description);
    throw lumen::Failure(description);
}

QString quoted(const QString &identifier)
{
    QString inner = identifier;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

void exec(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        fail(query.lastError(), isServerDriver(query.driver()));
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
                          "\"DT %\" %1)")
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
    if (onlyWhenMissing && m_db.tables().contains(kTable)) {
        if (!m_db.commit())
            fail(m_db.lastError(), m_server);
        return false;
    }
    if (!onlyWhenMissing) {
        // Nothing of the old archive stays: a file loses every table; a
        // server, which other programs may share, loses the archive's own.
        const QStringList tables = m_server ? archiveTables() : m_db.tables(QSql::Tables);
        for (const QString &table : tables) {
            if (!table.startsWith(u"sqlite_"))
                exec(query, QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoted(table)));
        }
    }
    exec(query, createTableSql());
    exec(query, QStringLiteral("CREATE INDEX \"idxSeq\" ON \"SamData\" (\"idxRec#\")"));
    if (!m_db.commit())
        fail(m_db.lastError(), m_server);
    return true;
}

void ResultsDatabase::checkReadable()
{
    withRetry([this] {
        QSqlQuery query(m_db);
        exec(query, QStringLiteral("SELECT COUNT(*) FROM \"SamData\""));
        return 0;
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

AppendCounts ResultsDatabase::append(const NewRecord &record)
{
    return withRetry([&] { return appendOnce(record); });
}

AppendCounts ResultsDatabase::appendOnce(const NewRecord &record)
{
    if (!m_db.transaction())
        fail(m_db.lastError(), m_server);
    QSqlQuery query(m_db);
    // Reading the table inside the transaction holds it against other
    // writers, so the columns and the count below stay true until commit. A
    // server lets readers through, so there the table is locked against other
    // appends (the lock conflicts with itself) but not against the viewer.
    if (m_server) {
        // Shared with other appends, exclusive against a reset: an append
        // never waits on a table that a reset is dropping.
        exec(query, QStringLiteral("SELECT pg_advisory_xact_lock_shared(%1)").arg(kSchemaLockKey));
        exec(query, QStringLiteral("LOCK TABLE \"SamData\" IN SHARE ROW EXCLUSIVE MODE"));
    }
    exec(query, QStringLiteral("SELECT COUNT(*) FROM \"SamData\""));
    query.next();
    const int countBefore = query.value(0).toInt();
    query.finish();

    QStringList columns = columnNames();
    if (columns.isEmpty())
        throw lumen::Failure(QStringLiteral("Table 'SamData' not found"));
    QHash<QString, QString> lowerCase;
    for (const QString &column : std::as_const(columns))
        lowerCase.insert(column.toLower(), column);

    // Column pass, then the values of the columns that exist, in report order.
    QHash<QString, float> values;
    QStringList valueOrder;
    for (const NewRecord::Value &value : record.values) {
        if (!ResultColumns::isAcceptableName(value.column) || fixedColumns().contains(value.column))
            continue;
        if (m_server && value.column.toUtf8().size() > kMaxServerNameBytes)
            continue; // the server would cut the name, and the cut name is another column
        // The file's names ignore letter case; the server's quoted names keep it,
        // so there a name that differs only in case is a column of its own.
        bool exists = columns.contains(value.column);
        if (!m_server && !exists && lowerCase.contains(value.column.toLower()))
            continue; // the file cannot hold two names that differ only in letter case
        if (!exists) {
            exec(query, QStringLiteral("ALTER TABLE \"SamData\" ADD COLUMN %1 VARCHAR(%2)")
                            .arg(quoted(value.column))
                            .arg(kResultColumnSize));
            columns << value.column;
            lowerCase.insert(value.column.toLower(), value.column);
        }
        if (!values.contains(value.column))
            valueOrder << value.column;
        values.insert(value.column, value.value);
    }

    const int recordNumber = countBefore + 1;
    if (recordNumber > kMaxRecordNumber)
        throw lumen::Failure(lumen::kOverflow);

    QStringList names = fixedColumns();
    names << valueOrder;
    QStringList quotedNames;
    for (const QString &name : std::as_const(names))
        quotedNames << quoted(name);
    QStringList marks(names.size(), QStringLiteral("?"));
    if (!query.prepare(QStringLiteral("INSERT INTO \"SamData\" (%1) VALUES (%2)")
                           .arg(quotedNames.join(u", "), marks.join(u", "))))
        fail(query.lastError(), m_server);
    query.addBindValue(recordNumber);
    query.addBindValue(record.fileName);
    query.addBindValue(record.idText);
    query.addBindValue(record.dateAndTime);
    query.addBindValue(record.sampleDate);
    query.addBindValue(textOf(record.countingTime));
    query.addBindValue(textOf(record.deadTime));
    for (const QString &column : std::as_const(valueOrder))
        query.addBindValue(textOf(values.value(column)));
    if (!query.exec())
        fail(query.lastError(), m_server);
    query.finish();
    if (!m_db.commit())
        fail(m_db.lastError(), m_server);
    return AppendCounts{int(columns.size()), recordNumber};
}

} // namespace lumen::ledgerly
