// Analysis, reports, libraries, ROIs and configuration: commands whose work HostApp does.
#include "AnalysisCommands.h"

#include "CommandContext.h"
#include "CommandRegistry.h"
#include "HostApp.h"

namespace lumen::sequa {

void registerAnalysisCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("GetLibrary"),
                 [](CommandContext &c) { return c.host().GetLibrary(); });
    registry.add(QStringLiteral("GetUseLibEff"),
                 [](CommandContext &c) { return c.host().GetUseLibEff(); });
}

} // namespace lumen::sequa
