#pragma once

#include "common/core/Platform.h"

#include <QString>
#include <QStringList>

namespace lumen::sequa {

/** What Sequa's command line asks for. */
struct StartRequest
{
    enum class Mode
    {
        CheckResume, ///< --check --resume JOURNAL
        CheckScript, ///< --check SCRIPT
        Refused,     ///< a wrong command line: nothing starts
        Open,        ///< --open [SCRIPT]: the window, with the script loaded
        Resume,      ///< --resume JOURNAL [--redo-failed]
        Play,        ///< [SCRIPT]: the window, or the script played unattended
    };

    Mode mode = Mode::Play;
    /** What the run journals as its command line: the script, the resumed journal, or none. */
    QString commandLine;
    /** Resume: the journal whose run goes on. */
    QString resumeJournal;
    bool redoFailed = false;
    /** Open: the words after --open (one file name, or none from the desktop menu). */
    QStringList openWords;
    /** Refused: what standard error says. */
    QString refusal;
};

/** Sequa's command line: its options and the help that explains them. */
class StartOptions
{
public:
    /** What --help and --version print. */
    static ProgramInfo programInfo();

    /** `words`: the arguments after the program's name. */
    static StartRequest parse(const QStringList &words);
};

} // namespace lumen::sequa
