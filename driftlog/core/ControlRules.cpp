#include "driftlog/core/ControlRules.h"

#include <cmath>

namespace lumen::driftlog {

namespace {
constexpr int kRunLength = 10;

bool tenOnOneSide(const QList<double> &values, int index, double mean, Sides sides)
{
    if (index + 1 < kRunLength)
        return false;
    bool above = true;
    bool below = sides == Sides::Both;
    for (int i = index + 1 - kRunLength; i <= index; ++i) {
        above = above && values[i] > mean;
        below = below && values[i] < mean;
    }
    return above || below;
}
} // namespace

QList<ControlRule> ControlRules::brokenAt(const QList<double> &values, int index,
                                          const std::optional<ControlLimits> &limits,
                                          const QuantityTraits &spec)
{
    QList<ControlRule> broken;
    const double x = values[index];
    const bool both = spec.sides == Sides::Both;
    if (spec.tolerance && spec.tolerance->beyond(x, spec.sides))
        broken << ControlRule::Tolerance;
    if (!limits)
        return broken;
    const ControlLimits &l = *limits;
    const auto rule = [&](ControlRule r, bool isBroken) {
        if (isBroken && spec.rules.has(r))
            broken << r;
    };
    const bool beyond3 = x > l.actionHigh() || (both && x < l.actionLow());
    const bool beyond2 = x > l.warningHigh() || (both && x < l.warningLow());
    rule(ControlRule::Beyond3s, beyond3);
    // With 1-3s not chosen, a point beyond 3 s still lies beyond 2 s.
    rule(ControlRule::Beyond2s, beyond2 && !(beyond3 && spec.rules.has(ControlRule::Beyond3s)));
    if (index >= 1) {
        const double previous = values[index - 1];
        rule(ControlRule::Two2s, (x > l.warningHigh() && previous > l.warningHigh()) ||
                                     (both && x < l.warningLow() && previous < l.warningLow()));
        const double step = both ? std::fabs(x - previous) : x - previous;
        rule(ControlRule::Range4s, step > 4.0 * l.sd);
    }
    rule(ControlRule::TenOneSide, tenOnOneSide(values, index, l.mean, spec.sides));
    return broken;
}

} // namespace lumen::driftlog
