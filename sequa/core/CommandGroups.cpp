#include "CommandGroups.h"

#include "AnalysisCommands.h"
#include "MessageCommands.h"
#include "SpectrumCommands.h"

namespace lumen::sequa {

void registerCommandGroups(CommandRegistry &registry)
{
    registerSpectrumCommands(registry);
    registerAnalysisCommands(registry);
    registerMessageCommands(registry);
}

} // namespace lumen::sequa
