#include "sequa/core/ScriptOpening.h"

#include "common/core/TextFile.h"
#include "sequa/core/ScriptButtons.h"

namespace lumen::sequa {

QString ScriptOpening::scriptOfFile(const QString &path)
{
    return ScriptButtons::scriptFromLines(textfile::readLines(path));
}

} // namespace lumen::sequa
