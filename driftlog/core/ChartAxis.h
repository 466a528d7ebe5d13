#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/** What one axis of a chart panel shows: its range and the ticks inside it. */
struct AxisRange
{
    double low = 0.0;
    double high = 1.0;

    double span() const { return high - low; }
    bool contains(double v) const { return v >= low && v <= high; }
};

/** One tick: where it stands (in the axis's own unit) and what it reads. */
struct AxisTick
{
    double at = 0.0;
    QString text;
};

/**
 * The ranges and ticks of the control charts. Every result is bounded: a
 * range is never narrower than the values' rounding, so a flat series, a
 * single point or values that differ only in their last bits still get a
 * few distinct ticks, and no range gets more than kMostTicks of them.
 */
namespace chartaxis {

inline constexpr int kMostTicks = 40;

/**
 * The range that holds every finite value of `values` with a margin of
 * `padShare` of its span on each side. A set without spread (one value, or
 * values equal to within rounding) is widened by a tenth of its magnitude,
 * at least 0.1, so it sits mid-panel. No finite value: 0 to 1.
 */
AxisRange rangeOf(const QList<double> &values, double padShare = 0.08);

/** Ticks at 1, 2 or 5 times a power of ten, about `wanted` of them, inside `range`. */
QList<AxisTick> valueTicks(const AxisRange &range, int wanted);

/**
 * Ticks on an axis of minutes since `start`: round times of day, midnights
 * every day, week or fortnight, then the first days of months. Each reads
 * as its date, with the time of day below a day's step and as month and
 * year from a month's. Without a start the ticks are plain minutes.
 */
QList<AxisTick> timeTicks(const AxisRange &minutes, int wanted,
                          const std::optional<QDateTime> &start);

} // namespace chartaxis
} // namespace lumen::driftlog
