#include "sequa/core/start/StartOptions.h"

#include "sequa/core/start/ScriptOpening.h"

namespace lumen::sequa {

namespace {

const QString kCheck = QStringLiteral("--check");
const QString kResume = QStringLiteral("--resume");
const QString kRedoFailed = QStringLiteral("--redo-failed");

} // namespace

ProgramInfo StartOptions::programInfo()
{
    return ProgramInfo{
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
            "       Sequa --resume JOURNAL --redo-failed\n"
            "                              play again the passes that failed in a run\n"
            "                              that ended with 3 (see below)\n"
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
            "     (Transpec's 3, done with warnings, counts as done), or, unattended,\n"
            "     a box had to be cancelled: the answers of LUMEN_ANSWERS ran out\n"
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
            "id, not the file), the journal of a run still playing, a checkpoint that\n"
            "does not fit the script (its line, its open loops at LoopBeg lines, their\n"
            "nesting and pass counts). An inner loop completed in the interrupted pass\n"
            "is passed over. A resume keeps the run's quality gate when LUMEN_QC_GATE\n"
            "is unset, and says when the gate stopped the run.\n"
            "\n"
            "--redo-failed: the journal names each pass with a failed line (\"Failed\n"
            "pass:\"), and a resume carries the names over. --resume JOURNAL\n"
            "--redo-failed plays exactly those passes of a run that ended with 3, up to\n"
            "each pass's LoopEnd, with the run's LUMEN_RUN, LUMEN_RUN_PASS and\n"
            "LUMEN_RUN_LINE, so that Ledgerly supersedes the failed records; it ends 0\n"
            "when each answered OK, else 3. Refused (2) for a run that did not end 3.\n"
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
}

StartRequest StartOptions::parse(const QStringList &words)
{
    using Mode = StartRequest::Mode;
    StartRequest request;
    const QString option = words.value(0);
    if (option == kCheck) {
        request.mode = words.value(1) == kResume ? Mode::CheckResume : Mode::CheckScript;
        return request;
    }
    if (option == kResume) {
        request.redoFailed = words.size() == 3 && words.at(2) == kRedoFailed;
        if ((words.size() != 2 && !request.redoFailed) || words.at(1).isEmpty()) {
            request.mode = Mode::Refused;
            request.refusal = QStringLiteral("Usage: Sequa --resume JOURNAL [--redo-failed]");
            return request;
        }
        // A resume names its journal where a run names its script.
        request.mode = Mode::Resume;
        request.resumeJournal = words.at(1);
        request.commandLine = request.resumeJournal;
        return request;
    }
    if (option == QLatin1String(ScriptOpening::kOption)) {
        request.mode = Mode::Open;
        request.openWords = words.mid(1);
        return request;
    }
    if (option.startsWith(QLatin1Char('-'))) {
        // A misspelt option would otherwise be taken for a script's name.
        request.mode = Mode::Refused;
        request.refusal = QStringLiteral("Sequa: unknown option: ") + option +
                          QStringLiteral("\nSequa --help lists the options (a script whose name "
                                         "begins with - is given as ./NAME)");
        return request;
    }
    // The command line is taken whole, as one file name, blanks and all. An
    // empty one (no argument, or one empty argument) names no script.
    request.commandLine = words.join(QLatin1Char(' '));
    return request;
}

} // namespace lumen::sequa
