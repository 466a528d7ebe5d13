#include "sequa/core/start/StartSteps.h"

#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/run/RunJournal.h"
#include "sequa/core/run/RunPause.h"
#include "sequa/core/run/RunRecord.h"
#include "sequa/core/start/NestingDepth.h"
#include "sequa/core/start/ScriptOpening.h"

#include <QCoreApplication>

namespace lumen::sequa::startsteps {

std::optional<QString> openedScript(const StartRequest &request)
{
    if (request.openWords.isEmpty())
        return QString();
    try {
        // More than one word names no file: the blank name is refused as unreadable.
        return ScriptOpening::scriptOfFile(request.openWords.size() == 1 ? request.openWords.first()
                                                                         : QString());
    } catch (const Failure &failure) {
        standardError() << "Sequa: cannot open the script: " << failure.description() << Qt::endl;
        return std::nullopt;
    }
}

int refuseNesting(int &argc, char **argv, const QString &commandLine)
{
    const auto entry = NestingDepth::enter();
    if (entry == NestingDepth::Entry::Entered)
        return -1;
    const QString why = NestingDepth::refusal(entry);
    standardError() << "Sequa: " << why << "; nothing was played" << Qt::endl;
    // The program directory is found beside the executable, which needs the application.
    QCoreApplication app(argc, argv);
    RunJournal::writeRefusal(programDirectory(), commandLine, why, RunRecord::kNotPlayed);
    return RunRecord::kNotPlayed;
}

StopSignals::Handler stopOn(SequaProgram &program)
{
    return [&program](const QString &signalName) {
        program.model().runRecord().requestStop(QStringLiteral("interrupted by ") + signalName);
        QCoreApplication::exit(RunRecord::kStopped);
    };
}

StopSignals::Handler pauseOn(SequaProgram &program)
{
    return [&program](const QString &signalName) {
        RunPause pause(program.model().runRecord(), program.model().runProgress());
        if (signalName == QLatin1String("SIGUSR1"))
            pause.pause(signalName);
        else
            pause.resume(signalName);
    };
}

} // namespace lumen::sequa::startsteps
