#pragma once

#include "common/core/Failure.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace lumen::ledgerly {

/**
 * Another process holds the file or the table, or changed the table under
 * us: the whole operation is rolled back and tried again.
 */
class RetryableFailure : public lumen::Failure
{
public:
    using lumen::Failure::Failure;
};

/** The file holds something other than a database: a reset replaces it whole. */
class NotADatabase : public lumen::Failure
{
public:
    using lumen::Failure::Failure;
};

/** Statements on the results database, failures sorted for the retry loop. */
class SqlStatement
{
public:
    /** True when trying the whole transaction again may succeed. */
    static bool isRetryable(const QSqlError &error, bool server);
    /** A full disk, a failing device or memory run out: no statement of the transaction helps. */
    static bool isResourceFailure(const QSqlError &error, bool server);
    /** A server's own word for a row or table past its limits. */
    static bool isLimit(const QSqlError &error);
    /** Throws RetryableFailure, NotADatabase or Failure with the engine's description. */
    [[noreturn]] static void fail(const QSqlError &error, bool server);
    /** Runs `sql`; a failure throws as fail() does. */
    static void exec(QSqlQuery &query, const QString &sql);
    /** Runs the prepared statement; a failure throws as fail() does. */
    static void exec(QSqlQuery &query);
    /** `identifier` in double quotes, inner quotes doubled. */
    static QString quoted(const QString &identifier);
    /** True on a PostgreSQL connection. */
    static bool isServer(const QSqlQuery &query);
};

} // namespace lumen::ledgerly
