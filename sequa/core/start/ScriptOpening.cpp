#include "sequa/core/start/ScriptOpening.h"

#include "common/core/TextFile.h"
#include "sequa/core/recorder/ScriptButtons.h"

namespace lumen::sequa {

QString ScriptOpening::scriptOfFile(const QString &path)
{
    return ScriptButtons::scriptFromLines(textfile::readLines(path));
}

} // namespace lumen::sequa
