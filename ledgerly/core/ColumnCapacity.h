#pragma once

#include <QString>
#include <QVariant>

namespace lumen::ledgerly {

/**
 * What each column of "SamData" can hold, checked before a grid edit goes to
 * the database: a file takes any text into any column, a server refuses what
 * does not fit, and the archive must look the same on both.
 */
class ColumnCapacity
{
public:
    /** Most characters of a text column ("idxRec#" is a number and has none). */
    static int width(const QString &column);

    /**
     * Why `column` cannot hold `value`, or an empty text when it can. An empty
     * value stands for no value and always fits.
     */
    static QString refusal(const QString &column, const QVariant &value);
};

} // namespace lumen::ledgerly
