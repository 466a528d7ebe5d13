#pragma once

#include <QSqlDatabase>
#include <QString>

namespace lumen::ledgerly {

/**
 * Where the results archive lives: a database file, or a PostgreSQL server
 * named by a connection URL (postgresql://user@host:port/dbname). A
 * password left out of the URL comes from PGPASSWORD or ~/.pgpass.
 */
class DatabaseLocation
{
public:
    /** True when `path` is a server URL rather than a file path. */
    static bool isServerUrl(const QString &path);

    /**
     * A connection named `connectionName` for `path`, not yet opened. Throws
     * Failure for a server URL that names no host or database.
     */
    static QSqlDatabase addConnection(const QString &path, const QString &connectionName);
};

} // namespace lumen::ledgerly
