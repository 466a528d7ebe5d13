#include "sequa/core/commands/ConnectCommand.h"

#include "common/core/EventPump.h"
#include "sequa/core/MainModel.h"
#include "sequa/core/SequaTexts.h"
#include "sequa/core/commands/CommandRunner.h"
#include "sequa/core/run/DayStopwatch.h"

namespace lumen::sequa {

QString ConnectCommand::run(CommandRunner &runner)
{
    MainModel &model = runner.model();
    model.createHostAppObject();
    if (const QString answer = model.hostAppObject().testconnect();
        answer != QStringLiteral("OK")) {
        model.setNoConnectionReason(answer);
        return kNoConnection;
    }

    DayStopwatch stopwatch;
    runner.ExecuteCommandLine(QStringLiteral("GetLibrary"), false);
    model.setLibraryText(model.statusText());
    if (model.libraryText().isEmpty()) {
        while (stopwatch.elapsed() < kLibraryWaitSeconds && !model.runRecord().stopRequested())
            pumpEventsWhileWaiting();
    }
    return QStringLiteral("OK") + kConnected;
}

} // namespace lumen::sequa
