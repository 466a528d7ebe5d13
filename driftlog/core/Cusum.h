#pragma once

#include "driftlog/core/ControlLimits.h"

#include <QList>

namespace lumen::driftlog {

/** The two one-sided cumulative sums at one point, in the quantity's unit (both 0 or more). */
struct CusumPoint
{
    double high = 0.0;
    double low = 0.0;
};

/**
 * The two-sided tabular CUSUM: each sum adds the deviation from the baseline
 * mean beyond k = 0.5 s and never falls below 0; a sum beyond h = 5 s signals.
 * The sums are not reset after a signal: the shift stays until a new series.
 */
class Cusum
{
public:
    static constexpr double kSlack = 0.5;
    static constexpr double kDecision = 5.0;

    static QList<CusumPoint> of(const QList<double> &values, const ControlLimits &limits);
    /** The decision interval h in the quantity's unit. */
    static double decision(const ControlLimits &limits) { return kDecision * limits.sd; }
};

} // namespace lumen::driftlog
