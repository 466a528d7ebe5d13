#pragma once

#include <QString>

namespace lumen::sequa {

/** Deleting the files a path names, with "*" and "?" in its last part. */
class FileDeletion
{
public:
    /**
     * Deletes the files that match; a name without a folder lies in `folder`.
     * "*.*" matches every file, with or without a dot. Folders are never
     * deleted; files that cannot be deleted are passed over. Returns how many
     * were deleted.
     */
    static int deleteMatching(const QString &folder, const QString &path);
};

} // namespace lumen::sequa
