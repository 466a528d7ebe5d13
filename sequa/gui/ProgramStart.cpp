#include "sequa/gui/ProgramStart.h"

#include "common/core/Platform.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "sequa/core/CreateHostAppObject.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/run/RunRecord.h"
#include "sequa/core/start/StartSteps.h"
#include "sequa/core/start/UnattendedStart.h"
#include "sequa/gui/IconicStart.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptButtonPanel.h"

#include <QApplication>
#include <functional>
#include <memory>

namespace lumen::sequa {

int playWithoutDisplay(int &argc, char **argv, const StartRequest &request)
{
    QCoreApplication app(argc, argv);
    installOperatorForDisplay();
    SequaProgram program(&createHostAppObject);
    program.model().setExclusiveRuns(true);
    StopSignals stopSignals(startsteps::stopOn(program), startsteps::pauseOn(program));
    program.timer().start();
    return UnattendedStart::run(program, request.commandLine, standardError(),
                                request.resumeJournal, request.redoFailed);
}

int playInWindow(int &argc, char **argv, const StartRequest &request, const QString &openedScript)
{
    QApplication app(argc, argv);
    // LUMEN_ANSWERS set for an unattended run is the user's explicit choice:
    // its answers are used at a display too, and messages go to stderr, so
    // the run ends without waiting for anyone.
    const bool answeredRun =
        !request.commandLine.isEmpty() && !qEnvironmentVariableIsEmpty("LUMEN_ANSWERS");
    if (!answeredRun)
        installOperatorForDisplay();
    applyProgramIcon(app, QStringLiteral("sequa"));
    rememberWindowPlaces(app);

    SequaProgram program(&createHostAppObject);
    program.model().setExclusiveRuns(true);
    StopSignals stopSignals(startsteps::stopOn(program), startsteps::pauseOn(program));
    program.timer().start();
    UnattendedStart unattended;
    unattended.resumeFrom(request.resumeJournal);
    unattended.setRedoFailed(request.redoFailed);
    program.setUnattendedStart(std::ref(unattended));

    // An unattended run plays with the window minimized: the operator can
    // open it to watch the run and stop it.
    auto window = std::make_unique<RxMainWindow>(program);
    new ScriptButtonPanel(*window, program);
    addHelpMenu(*window, QStringLiteral("Sequa"));
    if (!request.commandLine.isEmpty())
        showIconic(*window);
    if (request.mode == StartRequest::Mode::Play)
        program.model().setScriptFile(request.commandLine);

    if (program.startUp(request.commandLine) == SequaProgram::StartUpOutcome::EndProgram)
        return unattended.exitStatus();
    if (program.model().runRecord().stopRequested())
        return RunRecord::kStopped;
    if (request.mode == StartRequest::Mode::Open) {
        program.model().setScriptText(openedScript);
        if (request.openWords.size() == 1)
            program.model().setScriptFile(request.openWords.first());
    }
    // The window is the operator's from here on, answers file or not.
    installOperatorForDisplay();
    window->showNormal();
    return unattended.windowExitStatus(app.exec());
}

} // namespace lumen::sequa
