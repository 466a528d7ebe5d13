#include "common/core/Failure.h"
#include "common/core/Paths.h"
#include "common/core/Platform.h"
#include "common/core/StopSignals.h"
#include "common/gui/HelpMenu.h"
#include "common/gui/ProgramIcon.h"
#include "common/gui/QtOperator.h"
#include "common/gui/WindowPlaces.h"
#include "sequa/core/CreateHostAppObject.h"
#include "sequa/core/HostSettings.h"
#include "sequa/core/SequaProgram.h"
#include "sequa/core/check/ResumeCheckMode.h"
#include "sequa/core/check/ScriptCheckMode.h"
#include "sequa/core/run/RunJournal.h"
#include "sequa/core/run/RunPause.h"
#include "sequa/core/run/RunRecord.h"
#include "sequa/core/start/NestingDepth.h"
#include "sequa/core/start/ScriptOpening.h"
#include "sequa/core/start/UnattendedStart.h"
#include "sequa/gui/IconicStart.h"
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

// A signal stops a run as "No Connection" does, and then ends the program:
// the main loop, once a run has closed out and given it back control.
lumen::StopSignals::Handler stopOn(lumen::sequa::SequaProgram &program)
{
    return [&program](const QString &signalName) {
        program.model().runRecord().requestStop(QStringLiteral("interrupted by ") + signalName);
        QCoreApplication::exit(lumen::sequa::RunRecord::kStopped);
    };
}

// SIGUSR1 pauses a playing run and SIGUSR2 resumes it, as the window's
// Pause Script button does; the journal names the signal.
lumen::StopSignals::Handler pauseOn(lumen::sequa::SequaProgram &program)
{
    return [&program](const QString &signalName) {
        lumen::sequa::RunPause pause(program.model().runRecord(), program.model().runProgress());
        if (signalName == QLatin1String("SIGUSR1"))
            pause.pause(signalName);
        else
            pause.resume(signalName);
    };
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
            "                              run time (status 1 on any error); a line\n"
            "                              that an unattended trial play on a simulated\n"
            "                              host fails is an error, one that depends on\n"
            "                              files, answers, inputs or programs a warning\n"
            "       Sequa --open [SCRIPT]  open the window, with the script loaded\n"
            "       Sequa --resume JOURNAL  continue the run of a journal that did not end\n"
            "       Sequa --check --resume JOURNAL\n"
            "                              say where that run would continue, and\n"
            "                              its time left (status 1 when --resume would\n"
            "                              refuse it or the script has an error)\n"
            "  SCRIPT  a script file (.lsf) to play unattended; the program ends when the\n"
            "          run reaches the end of the script, or is stopped (Stop Script or\n"
            "          Esc in the window, which shows minimized meanwhile). Without a\n"
            "          display a stopped run ends the program too, and every error of the\n"
            "          run is written to standard error. Without a display a SCRIPT must\n"
            "          be given.\n"
            "\n"
            "Exit status of an unattended run:\n"
            "  0  the script ran to its end and every command line was answered OK\n"
            "  1  the run was stopped: No Connection, loops left open, Stop Script,\n"
            "     a signal (SIGTERM, SIGINT, SIGHUP), or the host was never reached\n"
            "  2  nothing was played: the script cannot be read, is longer than the\n"
            "     script box (32000 characters), a host setting is invalid, Sequa was\n"
            "     started eight levels deep by scripts, no script without a display,\n"
            "     another run holds the host (it is named: journal, process, start),\n"
            "     the run's journal cannot be written, or --resume refused (see below)\n"
            "  3  the script ran to its end, but one or more lines gave an error reply,\n"
            "     or a program that WaitExtProg started ended with a status other than 0\n"
            "     (Transpec's 3, done with warnings, counts as done)\n"
            "  4  the run was stopped by the quality gate: a program that WaitExtProg\n"
            "     started ended with a status that LUMEN_QC_GATE lists\n"
            "\n"
            "Scripts are Windows-1252 text; one that starts with a UTF-8 byte-order mark\n"
            "is read as UTF-8, and its command lines holding characters outside\n"
            "Windows-1252 give an \"Error: \" reply. Unattended, WaitPreset gives up with\n"
            "an \"Error: \" reply after ten polls in a row find no acquisition running,\n"
            "as WaitInput does after ten failed polls.\n"
            "\n"
            "Every run writes a journal, journal/YYYY-MM-DD_HHMMSS.txt in the program\n"
            "directory: script and SHA-256, host, every line with its time and reply, the\n"
            "operator's answers, the outcome and the exit status. Journals are kept.\n"
            "After each completed line a checkpoint entry says where the run stands: the\n"
            "line, each open loop's LoopBeg line, pass and passes, the answers used.\n"
            "Journal names sort in the order runs began, whatever the host's clock.\n"
            "\n"
            "One host, one run: a run holds the host it drives (the simulated host's\n"
            "LUMEN_ROOT, or a bridge's one controller) until it ends; Immediate Test\n"
            "Mode commands meanwhile answer No Connection with the holder named. A\n"
            "program CallExtProg starts outlives the run; the one WaitExtProg waits\n"
            "for belongs to it, and a Sequa run started so plays on its parent's hold.\n"
            "\n"
            "--resume JOURNAL continues a run that did not end: killed or a power cut\n"
            "(no exit status), status 1 (a signal, Stop Script, No Connection) or 4 (the\n"
            "quality gate). The pass is the unit of work: the lines before the open loops\n"
            "play again (the host may have lost its state), each open loop is entered at\n"
            "its interrupted pass, which plays again from its first line with the loop\n"
            "counters and the LUMEN_ANSWERS position of that pass's start; completed\n"
            "passes never play again. The new journal says \"Resumes: JOURNAL\" and\n"
            "\"Chain: FIRST\" (the night's first journal) and can itself be resumed; the\n"
            "old one gets \"Continued by: NEW\". Refused with status 2: a file that is no\n"
            "journal, a run that ended with status 0, 2 or 3, a script whose bytes no\n"
            "longer match the journal's SHA-256, a journal resumed already, a run\n"
            "continued already from any copy of its journal (a resume claims the run's\n"
            "id, not the file), the journal of a run still playing.\n"
            "\n"
            "Pause: SIGUSR1 pauses a playing run (as Pause Script in the window does) and\n"
            "SIGUSR2 resumes it. The run holds at the end of the line that plays, or at\n"
            "once inside WaitSeconds, whose countdown then goes on with the time it had\n"
            "left; WaitPreset, WaitInput and WaitExtProg wait on to their end first. The\n"
            "journal records each pause and resume and what asked for it. A stop (Stop\n"
            "Script, Exit, SIGTERM, SIGINT, SIGHUP) ends a paused run at once.\n"
            "\n"
            "Environment:\n"
            "  LUMEN_HOST           tcp://HOST:PORT of a host bridge (hostsim --listen);\n"
            "                       empty or \"sim\": the simulated host in process\n"
            "  LUMEN_HOST_TIMEOUT   seconds a bridge call may take (default 10); a\n"
            "                       signal cuts a waiting call short at once\n"
            "  LUMEN_HOST_SEED      seed of the simulated host's counts (default fresh)\n"
            "  LUMEN_HOST_SPEED     simulated host seconds per real second (default 1)\n"
            "  LUMEN_HOST_CHANNELS  channels of the simulated host, 1..16384 (8192)\n"
            "  LUMEN_HOST_START     simulated host clock at start, YYYY-MM-DD HH:MM:SS\n"
            "  LUMEN_HOST_FAULTS    faults the simulated host plays (see hostsim --help)\n"
            "  LUMEN_ANSWERS        file of the operator's answers for an unattended run,\n"
            "                       one per line, in the order asked; set, it is used at\n"
            "                       a display too (messages then go to stderr)\n"
            "  LUMEN_HOST_TOKEN     the host bridge's shared key (hostsim --help), or\n"
            "  LUMEN_HOST_TOKEN_FILE  a file, readable by its owner only, holding it\n"
            "  LUMEN_PROGRAM_DIR    program directory (value, data and journal files)\n"
            "  LUMEN_ROOT           the Lumen folder (default ~/Lumen): report path, and\n"
            "                       program directory when the executable's is read-only\n"
            "  LUMEN_QC_GATE        exit statuses (e.g. \"4\", Driftlog's action verdict)\n"
            "                       that stop the run when a WaitExtProg program ends\n"
            "                       with one of them (status 4); unset: none\n"
            "  LUMEN_HOST_HOLDER    set by Sequa for the program WaitExtProg starts: the\n"
            "                       run holding the host, which it lends to that program\n"
            "  LUMEN_SEQUA_DEPTH    set by Sequa for the programs it starts: how many\n"
            "                       Sequa runs are nested; at 8 a further one ends (2),\n"
            "                       as one does when it is no number; both journaled\n"
            "  LUMEN_RUN, LUMEN_RUN_PASS, LUMEN_RUN_LINE\n"
            "                       set by Sequa for the programs it starts: the run's\n"
            "                       journal (of a resumed run: the chain's first, so that\n"
            "                       Ledgerly supersedes the records of a pass played\n"
            "                       again), the pass of each open loop (\"2.1\") and the\n"
            "                       script line that started the program\n")};
    const int status = handleStandardOptions(argc, argv, info);
    if (status >= 0)
        return status;

    const QByteArray option = argc >= 2 ? QByteArray(argv[1]) : QByteArray();
    if (option == sequa::ScriptCheckMode::kOption && argc >= 3 &&
        QByteArray(argv[2]) == sequa::ResumeCheckMode::kOption) {
        QCoreApplication app(argc, argv);
        return sequa::ResumeCheckMode::run(QCoreApplication::arguments().mid(2), standardOut(),
                                           standardError());
    }
    if (option == sequa::ScriptCheckMode::kOption) {
        QCoreApplication app(argc, argv);
        return sequa::ScriptCheckMode::run(QCoreApplication::arguments().mid(1), standardOut(),
                                           standardError());
    }
    const bool opening = option == sequa::ScriptOpening::kOption;
    const bool resuming = option == sequa::ResumeCheckMode::kOption;
    if (resuming && (argc != 3 || argv[2][0] == '\0')) {
        standardError() << "Usage: Sequa --resume JOURNAL" << Qt::endl;
        return sequa::RunRecord::kNotPlayed;
    }
    if (!opening && !resuming && option.startsWith('-')) {
        // A misspelt option would otherwise be taken for a script's name.
        standardError() << "Sequa: unknown option: " << QString::fromLocal8Bit(option) << "\n"
                        << "Sequa --help lists the options (a script whose name begins with -"
                           " is given as ./NAME)"
                        << Qt::endl;
        return sequa::RunRecord::kNotPlayed;
    }
    QString openedScript;
    // The desktop entry's field code gives no file when started from the menu:
    // the recorder then opens empty.
    if (opening && argc > 2) {
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

    // A resume names its journal where a run names its script.
    const QString resumeJournal = resuming ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString commandLine =
        opening ? QString() : (resuming ? resumeJournal : scriptCommandLine(argc, argv));
    if (const auto entry = sequa::NestingDepth::enter();
        entry != sequa::NestingDepth::Entry::Entered) {
        const QString why = sequa::NestingDepth::refusal(entry);
        standardError() << "Sequa: " << why << "; nothing was played" << Qt::endl;
        // The program directory is found beside the executable, which needs the application.
        QCoreApplication app(argc, argv);
        sequa::RunJournal::writeRefusal(programDirectory(), commandLine, why,
                                        sequa::RunRecord::kNotPlayed);
        return sequa::RunRecord::kNotPlayed;
    }
    if (!hasDisplay() && commandLine.isEmpty()) {
        // Nobody could ever use or close the window.
        standardError() << "Sequa: no display; give a script file to play unattended" << Qt::endl;
        return sequa::RunRecord::kNotPlayed;
    }
    sequa::HostSettings::useHostClock();
    if (!hasDisplay()) {
        // Nobody could use a window here: play the script and end either way.
        QCoreApplication app(argc, argv);
        installOperatorForDisplay();
        sequa::SequaProgram program(&sequa::createHostAppObject);
        program.model().setExclusiveRuns(true);
        StopSignals stopSignals(stopOn(program), pauseOn(program));
        program.timer().start();
        return sequa::UnattendedStart::run(program, commandLine, standardError(), resumeJournal);
    }

    QApplication app(argc, argv);
    // LUMEN_ANSWERS set for an unattended run is the user's explicit choice:
    // its answers are used at a display too, and messages go to stderr, so
    // the run ends without waiting for anyone.
    const bool answeredRun =
        !commandLine.isEmpty() && !qEnvironmentVariableIsEmpty("LUMEN_ANSWERS");
    if (!answeredRun)
        installOperatorForDisplay();
    applyProgramIcon(app, QStringLiteral("sequa"));
    rememberWindowPlaces(app);

    sequa::SequaProgram program(&sequa::createHostAppObject);
    program.model().setExclusiveRuns(true);
    StopSignals stopSignals(stopOn(program), pauseOn(program));
    program.timer().start();
    sequa::UnattendedStart unattended;
    unattended.resumeFrom(resumeJournal);
    program.setUnattendedStart(std::ref(unattended));

    // An unattended run plays with the window minimized: the operator can
    // open it to watch the run and stop it. A run that succeeds or is
    // stopped ends the program; one that fails leaves the window to the
    // operator.
    auto window = std::make_unique<sequa::RxMainWindow>(program);
    new sequa::ScriptButtonPanel(*window, program);
    addHelpMenu(*window, QStringLiteral("Sequa"));
    if (!commandLine.isEmpty())
        sequa::showIconic(*window);

    if (program.startUp(commandLine) == sequa::SequaProgram::StartUpOutcome::EndProgram)
        return unattended.exitStatus();
    if (program.model().runRecord().stopRequested())
        return sequa::RunRecord::kStopped;
    if (opening)
        program.model().setScriptText(openedScript);
    // The window is the operator's from here on, answers file or not.
    installOperatorForDisplay();
    window->showNormal();
    return unattended.windowExitStatus(app.exec());
}
