// External programs and file deletion: commands that act outside the host.
#include "sequa/core/commands/ProgramCommands.h"

#include "common/core/Operator.h"
#include "common/core/ProcessLauncher.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandContext.h"
#include "sequa/core/commands/CommandRegistry.h"
#include "sequa/core/commands/CommandWaits.h"
#include "sequa/core/commands/RunProvenance.h"
#include "sequa/core/files/FileDeletion.h"
#include "sequa/core/run/HostHold.h"

namespace lumen::sequa {

namespace {
const QString kOk = QStringLiteral("OK");
const QString kBlankCommandLine = QStringLiteral("Command line is blank!!!");

void tellBlank()
{
    currentOperator().messageBox(kBlankCommandLine, kProgramTitle, MessageButtons::Ok);
}
} // namespace

void registerProgramCommands(CommandRegistry &registry)
{
    registry.add(QStringLiteral("CallExtProg"), [](CommandContext &c) {
        const QString commandLine = c.trimmedArgument();
        if (commandLine.isEmpty()) {
            tellBlank();
            return kBlankCommandLine;
        }
        RunProvenance::exportFor(c.model());
        const HostLending notLent(false);
        // The operator's program, not the run's: it outlives the run.
        currentLauncher().startDetached(commandLine, false);
        return kOk;
    });
    // WaitExtProg and KillFile tell of a blank line but let the script go on.
    registry.add(QStringLiteral("WaitExtProg"), [](CommandContext &c) {
        const QString commandLine = c.trimmedArgument();
        if (commandLine.isEmpty()) {
            tellBlank();
            return kOk;
        }
        return CommandWaits(c.runner(), c.model()).RunProgramAndWait(commandLine);
    });
    registry.add(QStringLiteral("KillFile"), [](CommandContext &c) {
        const QString path = c.trimmedArgument();
        if (path.isEmpty()) {
            tellBlank();
            return kOk;
        }
        FileDeletion::deleteMatching(c.model().programFolder(), path);
        return kOk;
    });
}

} // namespace lumen::sequa
