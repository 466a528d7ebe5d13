#pragma once

#include <QString>

namespace lumen::sequa {

/**
 * Where the files that commands name lie. Names come from scripts written on
 * Windows, so "\" separates folders as well as "/" on every platform.
 */
class LocalFiles
{
public:
    /**
     * The path of a file named in a command: trailing blanks dropped (the
     * 255-character field pads with them); a name without a folder lies in
     * `folder` (the program folder).
     */
    static QString resolve(const QString &folder, const QString &name);
    /** True when the name holds "\" or "/" (or a drive letter). */
    static bool hasFolder(const QString &name);
    /** The name with the separators this platform opens ("\" becomes "/" off Windows). */
    static QString nativeName(const QString &name);
};

} // namespace lumen::sequa
