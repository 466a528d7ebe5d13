#include "sequa/core/commands/CommandGroups.h"

#include "sequa/core/commands/AcquisitionCommands.h"
#include "sequa/core/commands/AnalysisCommands.h"
#include "sequa/core/commands/DataFileCommands.h"
#include "sequa/core/commands/LoopCommands.h"
#include "sequa/core/commands/MessageCommands.h"
#include "sequa/core/commands/ProgramCommands.h"
#include "sequa/core/commands/SampleCommands.h"
#include "sequa/core/commands/SpectrumCommands.h"
#include "sequa/core/commands/WaitCommands.h"

namespace lumen::sequa {

void registerCommandGroups(CommandRegistry &registry)
{
    registerSpectrumCommands(registry);
    registerAnalysisCommands(registry);
    registerMessageCommands(registry);
    registerAcquisitionCommands(registry);
    registerSampleCommands(registry);
    registerWaitCommands(registry);
    registerProgramCommands(registry);
    registerDataFileCommands(registry);
    registerLoopCommands(registry);
}

} // namespace lumen::sequa
