#pragma once

#include <QString>

namespace lumen::driftlog {

/** The rules a point is checked against; s is the baseline's standard deviation. */
enum class ControlRule
{
    Beyond3s,   ///< "1-3s": the point lies beyond an action limit (mean ± 3 s)
    Beyond2s,   ///< "1-2s": the point lies beyond a warning limit (mean ± 2 s)
    Two2s,      ///< "2-2s": it and the point before lie beyond the same warning limit
    Range4s,    ///< "R-4s": it differs from the point before by more than 4 s
    TenOneSide, ///< "10-x": it and the nine before lie on one side of the mean
    Ewma,       ///< "ewma": the moving average lies beyond 3 of its own sigmas
    Cusum,      ///< "cusum": a cumulative sum of deviations has passed 5 s
    Tolerance,  ///< "tolerance": the value is beyond the fixed tolerance
};

/** The short name used in verdicts, the chart, the settings and the README. */
QString ruleName(ControlRule rule);

/** True for the rules that call for action: the limits of 3 s, EWMA, CUSUM, the tolerance. */
bool isActionRule(ControlRule rule);

} // namespace lumen::driftlog
