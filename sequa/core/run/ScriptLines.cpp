#include "sequa/core/run/ScriptLines.h"

#include "common/core/FixedText.h"

namespace lumen::sequa::scriptlines {

bool isCommand(const QString &line)
{
    if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
        return false;
    return !trimBlanks(line).isEmpty();
}

} // namespace lumen::sequa::scriptlines
