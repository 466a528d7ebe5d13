#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace lumen::ledgerly {

/**
 * What "SamData" could not take of one record, gathered by reason, for the
 * message that the append succeeded all the same (the long tables hold it).
 */
class WideTableNotes
{
public:
    /** `column` (its value) was left out of the wide record for `reason`. */
    void leftOut(const QString &reason, const QString &column);
    /** The wide record was not written at all, for `reason`. */
    void recordLeftOut(const QString &reason) { m_record = reason; }

    bool isEmpty() const { return m_record.isEmpty() && m_columns.isEmpty(); }
    /** One line per reason, naming at most a few columns of each. */
    QStringList lines() const;

private:
    QString m_record;
    QMap<QString, QStringList> m_columns;
};

} // namespace lumen::ledgerly
