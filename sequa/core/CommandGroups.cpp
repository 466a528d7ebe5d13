#include "sequa/core/CommandGroups.h"

#include "sequa/core/AcquisitionCommands.h"
#include "sequa/core/AnalysisCommands.h"
#include "sequa/core/DataFileCommands.h"
#include "sequa/core/LoopCommands.h"
#include "sequa/core/MessageCommands.h"
#include "sequa/core/ProgramCommands.h"
#include "sequa/core/SampleCommands.h"
#include "sequa/core/SpectrumCommands.h"
#include "sequa/core/WaitCommands.h"

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
