#pragma once

#include <QString>

namespace lumen::sequa {

/** `Sequa --open SCRIPT.lsf`: the script is loaded into the window as Load Script would, not
 * played. */
class ScriptOpening
{
public:
    static constexpr const char *kOption = "--open";

    /** The script box text of the file (Load Script's rule); Failure when it cannot be read. */
    static QString scriptOfFile(const QString &path);
};

} // namespace lumen::sequa
