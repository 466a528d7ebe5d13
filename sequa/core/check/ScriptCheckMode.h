#pragma once

#include <QStringList>
#include <QTextStream>

namespace lumen::sequa {

/**
 * `Sequa --check SCRIPT.lsf`: one line per finding on `out`, then the
 * estimated run time. Status 0 without errors (warnings allowed), 1 with
 * any error or an unreadable script, 2 for a wrong command line. Reaches no
 * host, writes nothing outside a scratch folder, starts no program.
 */
class ScriptCheckMode
{
public:
    static constexpr const char *kOption = "--check";

    /** `args`: the words after the program name, "--check" first. */
    static int run(const QStringList &args, QTextStream &out, QTextStream &err);
};

} // namespace lumen::sequa
