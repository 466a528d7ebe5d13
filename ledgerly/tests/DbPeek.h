#pragma once

#include "ledgerly/core/DatabaseLocation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace lumen::ledgerly::test {

/** Reads a results database (file or server URL) directly, past the code under test. */
class DbPeek
{
public:
    explicit DbPeek(const QString &path) : m_name(QStringLiteral("peek-%1").arg(++serial()))
    {
        QSqlDatabase db = DatabaseLocation::addConnection(path, m_name);
        m_server = DatabaseLocation::isServerUrl(path);
        db.open();
    }
    ~DbPeek()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

    /** Every column of "SamData", the superseded mark too. */
    QStringList allColumns() const
    {
        const QSqlRecord record = QSqlDatabase::database(m_name).record(
            m_server ? QStringLiteral("\"SamData\"") : QStringLiteral("SamData"));
        QStringList names;
        for (int i = 0; i < record.count(); ++i)
            names << record.fieldName(i);
        return names;
    }

    /** The columns a report fills: the fixed ones and the result columns, in table order. */
    QStringList columns() const
    {
        QStringList names = allColumns();
        names.removeAll(QStringLiteral("Superseded By"));
        return names;
    }

    /** Every record in insertion order, column name to value (null stays invalid). */
    QList<QVariantMap> records() const
    {
        // A server keeps no insertion order: records come by number there.
        return rows(m_server ? QStringLiteral("SELECT * FROM \"SamData\" ORDER BY \"idxRec#\"")
                             : QStringLiteral("SELECT * FROM \"SamData\" ORDER BY rowid"));
    }

    /** The rows of `sql`, column name to value. */
    QList<QVariantMap> rows(const QString &sql) const
    {
        QList<QVariantMap> rows;
        QSqlQuery query(QSqlDatabase::database(m_name));
        query.exec(sql);
        while (query.next()) {
            QVariantMap row;
            const QSqlRecord record = query.record();
            for (int i = 0; i < record.count(); ++i)
                row.insert(record.fieldName(i), record.value(i));
            rows << row;
        }
        return rows;
    }

    QStringList indexes() const
    {
        QStringList names;
        QSqlQuery query(QSqlDatabase::database(m_name));
        query.exec(m_server
                       ? QStringLiteral("SELECT indexname FROM pg_indexes WHERE tablename = "
                                        "'SamData'")
                       : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                        "tbl_name = 'SamData'"));
        while (query.next())
            names << query.value(0).toString();
        return names;
    }

    /** The first value of the first row of `sql` as a number; -1 when the query fails. */
    qint64 count(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name));
        if (!query.exec(sql) || !query.next())
            return -1;
        return query.value(0).toLongLong();
    }

    bool exec(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name));
        return query.exec(sql);
    }

private:
    static int &serial()
    {
        static int value = 0;
        return value;
    }
    QString m_name;
    bool m_server = false;
};

} // namespace lumen::ledgerly::test
