#pragma once

#include <QString>

namespace lumen::sequa {

/**
 * Deleting the files a path names, as the lab's scripts were written for:
 * "*" and "?" in its last part match within that one folder.
 */
class FileDeletion
{
public:
    /**
     * Deletes the files that match; a name without a folder lies in `folder`.
     * A name without "*" or "?" deletes that one file. "*" matches any run of
     * characters, "?" one character; "[" and "]" are ordinary characters;
     * "*.*" matches every file, with or without a dot. Letter case is ignored
     * only where the file system ignores it. A hidden file (name beginning
     * with a dot) is matched only by a pattern beginning with a dot. Folders
     * are never deleted; files that cannot be deleted are passed over.
     * Returns how many were deleted.
     */
    static int deleteMatching(const QString &folder, const QString &path);

    /** True when the name matches the pattern by the rules above (no hidden-file rule). */
    static bool matches(const QString &pattern, const QString &name, Qt::CaseSensitivity cs);
};

} // namespace lumen::sequa
