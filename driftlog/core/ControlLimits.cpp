#include "driftlog/core/ControlLimits.h"

#include <cmath>

namespace lumen::driftlog {

std::optional<ControlLimits> ControlLimits::fromBaseline(const QList<double> &drifts)
{
    if (drifts.size() < kBaselinePoints)
        return std::nullopt;
    double sum = 0.0;
    for (int i = 0; i < kBaselinePoints; ++i)
        sum += drifts[i];
    ControlLimits limits;
    limits.mean = sum / kBaselinePoints;
    double squares = 0.0;
    for (int i = 0; i < kBaselinePoints; ++i)
        squares += (drifts[i] - limits.mean) * (drifts[i] - limits.mean);
    limits.sd = std::sqrt(squares / (kBaselinePoints - 1));
    return limits;
}

} // namespace lumen::driftlog
