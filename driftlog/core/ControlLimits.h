#pragma once

#include <QList>
#include <optional>

namespace lumen::driftlog {

/** Baseline mean and standard deviation of a drift series, and the limits drawn from them. */
struct ControlLimits
{
    /** Points after the reference that make the baseline. */
    static constexpr int kBaselinePoints = 20;
    /** The least sd, as a share of the mean: below it a spread is rounding. */
    static constexpr double kRounding = 1e-9;

    double mean = 0.0;
    double sd = 0.0; ///< sample standard deviation (n - 1)

    /** From the first kBaselinePoints drifts; nothing while there are fewer. */
    static std::optional<ControlLimits> fromBaseline(const QList<double> &drifts);

    double warningLow() const { return mean - 2.0 * sd; }
    double warningHigh() const { return mean + 2.0 * sd; }
    double actionLow() const { return mean - 3.0 * sd; }
    double actionHigh() const { return mean + 3.0 * sd; }
};

} // namespace lumen::driftlog
