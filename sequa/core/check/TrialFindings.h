#pragma once

#include "sequa/core/check/RunEstimate.h"
#include "sequa/core/check/ScriptFinding.h"

#include <QStringList>

namespace lumen::sequa {

/**
 * The lines the trial play failed, as findings, so that the check's verdict
 * is the run's: the host's own rules (analysis types, ROIs, dates,
 * libraries, names) are known to the simulated host, not to the check.
 * A failure is an error when nothing outside the script decided it; it is a
 * warning on a line that reads what a real run may find otherwise (value
 * files, the host's files, the operator's answers, outside inputs and
 * programs) and on every line after such a line failed in the trial.
 */
class TrialFindings
{
public:
    /** `lines` the script's, `known` the findings without the play (a line with an error is left
     * out). */
    static ScriptFindings of(const QStringList &lines, const RunEstimate &trial,
                             const ScriptFindings &known);
    /** `known` and the trial's findings together, in line order (`known` first on a line). */
    static ScriptFindings merged(const QStringList &lines, const RunEstimate &trial,
                                 const ScriptFindings &known);
};

} // namespace lumen::sequa
