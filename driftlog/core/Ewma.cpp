#include "driftlog/core/Ewma.h"

#include <cmath>

namespace lumen::driftlog {

QList<EwmaPoint> Ewma::of(const QList<double> &values, const ControlLimits &limits)
{
    QList<EwmaPoint> points;
    points.reserve(values.size());
    double z = limits.mean;
    double decay = 1.0; // (1 - λ)^2i
    for (double x : values) {
        z = kLambda * x + (1.0 - kLambda) * z;
        decay *= (1.0 - kLambda) * (1.0 - kLambda);
        const double sigma = limits.sd * std::sqrt(kLambda / (2.0 - kLambda) * (1.0 - decay));
        points << EwmaPoint{z, limits.mean - kWidth * sigma, limits.mean + kWidth * sigma};
    }
    return points;
}

} // namespace lumen::driftlog
