#include "driftlog/core/ControlRules.h"

#include <cmath>

namespace lumen::driftlog {

namespace {
constexpr int kRunLength = 10;

bool tenOnOneSide(const QList<double> &drifts, int index, double mean)
{
    if (index + 1 < kRunLength)
        return false;
    bool above = true;
    bool below = true;
    for (int i = index + 1 - kRunLength; i <= index; ++i) {
        above = above && drifts[i] > mean;
        below = below && drifts[i] < mean;
    }
    return above || below;
}
} // namespace

QList<ControlRule> ControlRules::brokenAt(const QList<double> &drifts, int index,
                                          const std::optional<ControlLimits> &limits,
                                          std::optional<double> tolerance)
{
    QList<ControlRule> broken;
    const double x = drifts[index];
    if (tolerance && std::fabs(x) > *tolerance)
        broken << ControlRule::Tolerance;
    if (!limits)
        return broken;
    const ControlLimits &l = *limits;
    const bool beyond3 = x > l.actionHigh() || x < l.actionLow();
    if (beyond3)
        broken << ControlRule::Beyond3s;
    else if (x > l.warningHigh() || x < l.warningLow())
        broken << ControlRule::Beyond2s;
    if (index >= 1) {
        const double previous = drifts[index - 1];
        if ((x > l.warningHigh() && previous > l.warningHigh()) ||
            (x < l.warningLow() && previous < l.warningLow()))
            broken << ControlRule::Two2s;
        if (std::fabs(x - previous) > 4.0 * l.sd)
            broken << ControlRule::Range4s;
    }
    if (tenOnOneSide(drifts, index, l.mean))
        broken << ControlRule::TenOneSide;
    return broken;
}

} // namespace lumen::driftlog
