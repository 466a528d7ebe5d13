#include "driftlog/core/ControlLimits.h"

#include <algorithm>
#include <cmath>

namespace lumen::driftlog {

std::optional<ControlLimits> ControlLimits::fromBaseline(const QList<double> &drifts)
{
    if (drifts.size() < kBaselinePoints)
        return std::nullopt;
    // Summed as offsets from the first value: a flat baseline then has its
    // value as the mean exactly, and no point of it lies "above" its own mean.
    const double origin = drifts[0];
    double offsets = 0.0;
    for (int i = 0; i < kBaselinePoints; ++i)
        offsets += drifts[i] - origin;
    ControlLimits limits;
    limits.mean = origin + offsets / kBaselinePoints;
    double squares = 0.0;
    for (int i = 0; i < kBaselinePoints; ++i)
        squares += (drifts[i] - limits.mean) * (drifts[i] - limits.mean);
    // The logs keep seven significant digits: a spread far below that is the
    // rounding of the mean, and judging against it would call a flat series
    // out of control at its first bit of noise.
    limits.sd =
        std::max(std::sqrt(squares / (kBaselinePoints - 1)), std::fabs(limits.mean) * kRounding);
    return limits;
}

} // namespace lumen::driftlog
