#pragma once

#include "common/core/Platform.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace lumen::driftlog {

/** The unattended run: "GAIN" or "KEV" reads the report, appends, saves the settings and ends. */
class DriftlogCommandLine
{
public:
    /** The same report or measurement is logged already: nothing appended. */
    static constexpr int kAlreadyLogged = 7;

    /**
     * The mode a start argument asks for: the arguments joined, trimmed and
     * upper-cased; containing "GAIN" gives 0, else containing "KEV" gives 1,
     * else nothing (the window waits for the operator).
     */
    static std::optional<int> modeOfArguments(const QStringList &args);

    /**
     * One unattended run with the settings and log in `folder`. `args` are
     * the arguments after the program name. Exit status 0 when the log got a
     * line that is in control or at a warning, a reference was taken, or the
     * measurement was not later than the reference; 4 when the new line is at
     * an action limit or beyond the tolerance (it is logged all the same); 7
     * when the same report or measurement is logged already; 1
     * when nothing could be appended, the settings could not be saved or the
     * tolerance could not be read; 2 when no command word was given.
     */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err,
                   const QString &folder);
    /** The same in the program directory. */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);

    /** What --help and --version print. */
    static lumen::ProgramInfo programInfo();
};

} // namespace lumen::driftlog
