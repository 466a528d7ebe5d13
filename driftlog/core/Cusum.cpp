#include "driftlog/core/Cusum.h"

#include <algorithm>

namespace lumen::driftlog {

QList<CusumPoint> Cusum::of(const QList<double> &values, const ControlLimits &limits)
{
    QList<CusumPoint> points;
    points.reserve(values.size());
    const double slack = kSlack * limits.sd;
    CusumPoint sum;
    for (double x : values) {
        sum.high = std::max(0.0, sum.high + (x - limits.mean) - slack);
        sum.low = std::max(0.0, sum.low - (x - limits.mean) - slack);
        points << sum;
    }
    return points;
}

} // namespace lumen::driftlog
