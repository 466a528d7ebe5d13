#include "common/core/Failure.h"
#include "common/core/Platform.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "sequa/core/CreateHostAppObject.h"
#include "sequa/core/ScriptCheckMode.h"
#include "sequa/core/ScriptOpening.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/UnattendedStart.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/gui/ScriptButtonPanel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <memory>

namespace {

// The command line is taken whole, as one file name, blanks and all. An
// empty one (no argument, or one empty argument) names no script.
QString scriptCommandLine(int argc, char **argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return words.join(QLatin1Char(' '));
}

} // namespace

int main(int argc, char **argv)
{
    using namespace lumen;
    const ProgramInfo info{
        QStringLiteral("Sequa"),
        QStringLiteral("records and plays measurement scripts that drive the MCA host"),
        QStringLiteral(
            "Usage: Sequa [SCRIPT]\n"
            "       Sequa --check SCRIPT   report what the script will fail at, and its\n"
            "                              run time (status 1 on any error)\n"
            "       Sequa --open SCRIPT    open the window with the script loaded\n"
            "  SCRIPT  a script file (.lsf) to play unattended; the program ends\n"
            "          when the run succeeds. Without a display a failed run ends\n"
            "          the program too (status 1; 2 when the file cannot be read),\n"
            "          and every error of the run is written to standard error\n")};
    const int status = handleStandardOptions(argc, argv, info);
    if (status >= 0)
        return status;

    const QByteArray option = argc >= 2 ? QByteArray(argv[1]) : QByteArray();
    if (option == sequa::ScriptCheckMode::kOption) {
        QCoreApplication app(argc, argv);
        return sequa::ScriptCheckMode::run(QCoreApplication::arguments().mid(1), standardOut(),
                                           standardError());
    }
    const bool opening = option == sequa::ScriptOpening::kOption;
    QString openedScript;
    if (opening) {
        try {
            openedScript = sequa::ScriptOpening::scriptOfFile(
                argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString());
        } catch (const Failure &failure) {
            standardError() << "Sequa: cannot open the script: " << failure.description()
                            << Qt::endl;
            return 2;
        }
    }

    selectPlatformForDisplay();

    const QString commandLine = opening ? QString() : scriptCommandLine(argc, argv);
    if (!hasDisplay() && !commandLine.isEmpty()) {
        // Nobody could use a window here: play the script and end either way.
        QCoreApplication app(argc, argv);
        installOperatorForDisplay();
        sequa::SequaProgram program(&sequa::createHostAppObject);
        program.timer().start();
        return sequa::UnattendedStart::run(program, commandLine, standardError());
    }

    QApplication app(argc, argv);
    installOperatorForDisplay();
    applyProgramIcon(app, QStringLiteral("sequa"));
    rememberWindowPlaces(app);

    sequa::SequaProgram program(&sequa::createHostAppObject);
    program.timer().start();
    if (!hasDisplay())
        program.model().setRunLogEcho(&standardError());
    sequa::UnattendedStart unattended;
    program.setUnattendedStart(std::ref(unattended));

    // The window exists during start-up, so an unattended run shows its
    // message panel, but it is shown only once start-up returns: a run that
    // succeeds ends without it, one that fails leaves it to the operator.
    auto window = std::make_unique<sequa::RxMainWindow>(program);
    new sequa::ScriptButtonPanel(*window, program);
    addHelpMenu(*window, QStringLiteral("Sequa"));

    if (program.startUp(commandLine) == sequa::SequaProgram::StartUpOutcome::EndProgram)
        return 0;
    if (opening)
        program.model().setScriptText(openedScript);
    window->show();
    return app.exec();
}
