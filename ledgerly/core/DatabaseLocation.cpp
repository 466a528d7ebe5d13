#include "ledgerly/core/DatabaseLocation.h"

#include "common/core/Failure.h"

#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

namespace lumen::ledgerly {

bool DatabaseLocation::isServerUrl(const QString &path)
{
    const QString text = path.trimmed();
    return text.startsWith(u"postgresql://", Qt::CaseInsensitive) ||
           text.startsWith(u"postgres://", Qt::CaseInsensitive);
}

QSqlDatabase DatabaseLocation::addConnection(const QString &path, const QString &connectionName)
{
    if (!isServerUrl(path)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        return db;
    }
    const QUrl url(path.trimmed(), QUrl::StrictMode);
    const QString databaseName = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || databaseName.isEmpty() ||
        databaseName.contains(u'/'))
        throw lumen::Failure(
            QStringLiteral("Not a server address: postgresql://user@host:port/dbname"));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(url.host());
    if (url.port() > 0)
        db.setPort(url.port());
    db.setDatabaseName(databaseName);
    if (!url.userName().isEmpty())
        db.setUserName(url.userName());
    // Without a password here the client library looks in PGPASSWORD and ~/.pgpass.
    if (!url.password().isEmpty())
        db.setPassword(url.password());
    // Options such as ?sslmode=require&connect_timeout=5 go to the client library as given.
    QStringList options;
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto &item : items)
        options << item.first + u'=' + item.second;
    if (std::none_of(options.cbegin(), options.cend(),
                     [](const QString &o) { return o.startsWith(u"connect_timeout="); }))
        options << QStringLiteral("connect_timeout=10");
    db.setConnectOptions(options.join(u';'));
    return db;
}

} // namespace lumen::ledgerly
