#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

namespace lumen::ledgerly {

/**
 * The grid's changes to one record of "SamData", each carried to the long
 * tables and the audit trail in the same transaction, so that the wide and
 * the long view never disagree and every change says who made it. A row is
 * found by the engine's storage key (the table has no key of its own); its
 * "SamRecords" row by its record number.
 */
class ArchiveEdits
{
public:
    ArchiveEdits(const QSqlDatabase &db, bool server) : m_db(db), m_server(server) {}

    /** The storage key as a column of a query, as text, and as a bound value's mark. */
    QString keyExpression() const;
    QString keyText() const;
    QString keyMark() const;

    /**
     * Stores `stored` in `column` of the record at `key`. On a server the
     * record moves: `movedKey` gets its new key. False with lastError set
     * when the engine refused it or the record is gone (nothing changed).
     */
    bool edit(const QVariant &key, const QString &column, const QVariant &stored,
              QVariant *movedKey);
    /** Deletes the record at `key` with its long-table rows. False as edit(). */
    bool remove(const QVariant &key);

    QSqlError lastError() const { return m_lastError; }

private:
    /** Runs `work` in a transaction; a Failure rolls it back and sets lastError. */
    template <typename Work> bool inTransaction(Work work);
    /** The "SamRecords" number of the record numbered `wideNumber`; null when none. */
    QVariant recordOf(const QVariant &wideNumber);
    void editLongTables(const QVariant &record, const QString &column, const QVariant &stored);

    QSqlDatabase m_db;
    bool m_server = false;
    QSqlError m_lastError;
};

} // namespace lumen::ledgerly
