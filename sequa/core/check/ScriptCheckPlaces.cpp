#include "sequa/core/check/ScriptCheckPlaces.h"

#include "common/core/FixedText.h"
#include "common/core/Paths.h"
#include "common/core/ProcessLauncher.h"

namespace lumen::sequa {

ScriptCheckPlaces ScriptCheckPlaces::ofThisInstallation()
{
    ScriptCheckPlaces places;
    places.programFolder = programDirectory();
    places.hostDataFolder = designPath(QStringLiteral("C:\\Program Files\\Korlund\\Lumen\\Data"));
    places.findProgram = &ProcessLauncher::findProgram;
    return places;
}

QString ScriptCheckPlaces::hostFile(const QString &name) const
{
    const QString trimmed = trimBlanks(name);
    return hasFolder(trimmed) ? designPath(trimmed) : joinPath(hostDataFolder, trimmed);
}

} // namespace lumen::sequa
