#pragma once

#include <QString>

namespace lumen::ledgerly {

/**
 * Makes a new archive file whole or not at all: the tables are made in a
 * temporary file beside it (".NAME.lumen-partial-XXXXXX", swept as
 * every partial file of the suite is), which is then linked under
 * the archive's name only if no file is there yet. A process killed at any
 * moment leaves either no archive or a complete, empty one, never a file
 * without its tables; and two processes making the same archive at once end
 * with the one file both append to.
 */
class NewArchiveFile
{
public:
    /**
     * Makes the archive at `path` unless a file is there. True when this call
     * made it. Throws Failure when the folder cannot take the file.
     */
    static bool createIfMissing(const QString &path);
};

} // namespace lumen::ledgerly
