#include "CommandGroups.h"

#include "AcquisitionCommands.h"
#include "AnalysisCommands.h"
#include "DataFileCommands.h"
#include "LoopCommands.h"
#include "MessageCommands.h"
#include "ProgramCommands.h"
#include "SampleCommands.h"
#include "SpectrumCommands.h"
#include "WaitCommands.h"

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
