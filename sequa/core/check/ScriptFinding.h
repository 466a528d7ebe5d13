#pragma once

#include <QString>
#include <vector>

namespace lumen::sequa {

/** One thing `Sequa --check` has to say about a script line. */
struct ScriptFinding
{
    enum class Severity
    {
        Warning, ///< may be fine when the run comes (a file another program writes first)
        Error    ///< the line will fail, or the run will not do what it says
    };

    int line = 0; ///< 1-based line of the script file; 0 = the whole file
    Severity severity = Severity::Error;
    QString text;

    /** "SCRIPT.lsf:LINE: error: text" ("SCRIPT.lsf: ..." for the whole file). */
    QString format(const QString &scriptName) const;
};

using ScriptFindings = std::vector<ScriptFinding>;

/** True when one of the findings is an error. */
bool hasErrors(const ScriptFindings &findings);

} // namespace lumen::sequa
