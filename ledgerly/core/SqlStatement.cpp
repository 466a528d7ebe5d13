#include "ledgerly/core/SqlStatement.h"

#include <QSqlDriver>
#include <QStringList>

namespace lumen::ledgerly {

bool SqlStatement::isRetryable(const QSqlError &error, bool server)
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

bool SqlStatement::isResourceFailure(const QSqlError &error, bool server)
{
    if (server) {
        // Insufficient resources (disk full, out of memory), system and connection errors.
        const QString state = error.nativeErrorCode();
        return state.startsWith(u"53") || state.startsWith(u"58") || state.startsWith(u"08");
    }
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    // SQLite's out of memory (7), I/O error (10) and full (13).
    return ok && (code == 7 || code == 10 || code == 13);
}

bool SqlStatement::isLimit(const QSqlError &error)
{
    // Program limit exceeded: a row too large for a page, too many columns.
    return error.nativeErrorCode().startsWith(u"54") || error.text().contains(u"too many");
}

void SqlStatement::fail(const QSqlError &error, bool server)
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

bool SqlStatement::isServer(const QSqlQuery &query)
{
    return query.driver() && query.driver()->dbmsType() == QSqlDriver::PostgreSQL;
}

void SqlStatement::exec(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        fail(query.lastError(), isServer(query));
}

void SqlStatement::exec(QSqlQuery &query)
{
    if (!query.exec())
        fail(query.lastError(), isServer(query));
}

QString SqlStatement::quoted(const QString &identifier)
{
    QString inner = identifier;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

} // namespace lumen::ledgerly
