#pragma once

#include <QString>

namespace lumen::sequa {

/**
 * Value files: the operator's answers that Ask commands keep and Get
 * commands read back, one value per file, so that other programs can prepare
 * them too.
 */
class ValueFiles
{
public:
    /**
     * The last line of the file that is not empty (a line of blanks counts);
     * "" for an empty file. Trailing blanks of the name are ignored and a name
     * without a folder lies in `folder`. Failure when the file cannot be read.
     */
    static QString ReadValueFile(const QString &folder, const QString &name);
    /** Creates or replaces folder + name with the one line `value`. */
    static void writeValueFile(const QString &folder, const QString &name, const QString &value);
};

} // namespace lumen::sequa
