#pragma once

#include "driftlog/core/ControlLimits.h"

#include <QList>

namespace lumen::driftlog {

/** One point of the exponentially weighted moving average and its limits. */
struct EwmaPoint
{
    double value = 0.0;
    double low = 0.0;
    double high = 0.0;
};

/**
 * The EWMA chart: z = λ x + (1 - λ) z', starting from the baseline mean, with
 * limits at 3 of its own sigmas, s √(λ / (2 - λ) (1 - (1 - λ)^2i)), which
 * widen from the first point toward their steady width of 1 s.
 */
class Ewma
{
public:
    static constexpr double kLambda = 0.2;
    static constexpr double kWidth = 3.0;

    static QList<EwmaPoint> of(const QList<double> &values, const ControlLimits &limits);
};

} // namespace lumen::driftlog
