#include "common/core/Platform.h"
#include "sequa/core/HostSettings.h"
#include "sequa/core/check/ResumeCheckMode.h"
#include "sequa/core/check/ScriptCheckMode.h"
#include "sequa/core/run/RunRecord.h"
#include "sequa/core/start/StartOptions.h"
#include "sequa/core/start/StartSteps.h"
#include "sequa/gui/ProgramStart.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

using namespace lumen;
using namespace lumen::sequa;

QStringList wordsAfterProgramName(int argc, char **argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return words;
}

int checkResume(int &argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return ResumeCheckMode::run(QCoreApplication::arguments().mid(2), standardOut(),
                                standardError());
}

int checkScript(int &argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return ScriptCheckMode::run(QCoreApplication::arguments().mid(1), standardOut(),
                                standardError());
}

// Open, resume or play: the window at a display, the script played without one.
int play(int &argc, char **argv, const StartRequest &request)
{
    const std::optional<QString> openedScript = startsteps::openedScript(request);
    if (!openedScript)
        return RunRecord::kNotPlayed;
    selectPlatformForDisplay();
    if (const int refused = startsteps::refuseNesting(argc, argv, request.commandLine);
        refused >= 0)
        return refused;
    if (!hasDisplay() && request.commandLine.isEmpty()) {
        // Nobody could ever use or close the window.
        standardError() << "Sequa: no display; give a script file to play unattended" << Qt::endl;
        return RunRecord::kNotPlayed;
    }
    HostSettings::useHostClock();
    if (!hasDisplay())
        return playWithoutDisplay(argc, argv, request);
    return playInWindow(argc, argv, request, *openedScript);
}

} // namespace

int main(int argc, char **argv)
{
    const int status = handleStandardOptions(argc, argv, StartOptions::programInfo());
    if (status >= 0)
        return status;
    const StartRequest request = StartOptions::parse(wordsAfterProgramName(argc, argv));
    switch (request.mode) {
    case StartRequest::Mode::CheckResume:
        return checkResume(argc, argv);
    case StartRequest::Mode::CheckScript:
        return checkScript(argc, argv);
    case StartRequest::Mode::Refused:
        standardError() << request.refusal << Qt::endl;
        return RunRecord::kNotPlayed;
    case StartRequest::Mode::Open:
    case StartRequest::Mode::Resume:
    case StartRequest::Mode::Play:
        break;
    }
    return play(argc, argv, request);
}
