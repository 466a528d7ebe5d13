#include "driftlog/core/ChartAxis.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace lumen::driftlog::chartaxis {

namespace {
// The logs keep seven significant digits: a spread below a tenth of the last
// one is rounding (or the control limits' least width), not worth a tick.
constexpr double kRounding = 1e-8;
constexpr double kMinutesPerDay = 1440.0;

double niceStep(double span, int wanted)
{
    const double rough = span / std::max(1, wanted);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= rough)
            return m * power;
    return 10.0 * power;
}

/** Whole multiples of `step` inside `range`, counted as integers so the loop always ends. */
QList<double> multiplesIn(const AxisRange &range, double step, double origin = 0.0)
{
    QList<double> at;
    if (!(step > 0.0) || !std::isfinite(step))
        return at;
    const double first = std::ceil((range.low - origin) / step);
    const double last = std::floor((range.high - origin) / step);
    if (!(last >= first) || last - first >= kMostTicks)
        return at;
    for (double k = first; k <= last; k += 1.0)
        at << origin + k * step;
    return at;
}

/** Tick texts as fine as the step: plain decimals for everyday sizes, else exponents. */
QString tickText(double v, double step, double largest)
{
    if (std::fabs(v) < step * 1e-6)
        return QStringLiteral("0"); // reached by adding steps: not -0 or 1e-17
    if (step >= 1e-4 && largest < 1e7) {
        const int decimals = std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 4);
        return QString::number(v, 'f', decimals);
    }
    const int digits = std::clamp(int(std::ceil(std::log10(largest / step) + 1e-9)) + 1, 1, 15);
    return QString::number(v, 'g', digits);
}
} // namespace

AxisRange rangeOf(const QList<double> &values, double padShare)
{
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    for (double v : values) {
        if (!std::isfinite(v))
            continue;
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
    if (!any)
        return {0.0, 1.0};
    const double size = std::max(std::fabs(low), std::fabs(high));
    if (high - low <= size * kRounding) {
        const double mid = low + (high - low) / 2.0;
        const double pad = std::max(std::fabs(mid) * 0.1, 0.1);
        return {mid - pad, mid + pad};
    }
    const double pad = (high - low) * padShare;
    return {low - pad, high + pad};
}

QList<AxisTick> valueTicks(const AxisRange &range, int wanted)
{
    QList<AxisTick> ticks;
    if (!(range.span() > 0.0) || !std::isfinite(range.span()))
        return ticks;
    const double step = niceStep(range.span(), std::clamp(wanted, 1, kMostTicks / 2));
    const double largest = std::max(std::fabs(range.low), std::fabs(range.high));
    for (double v : multiplesIn(range, step))
        ticks << AxisTick{v, tickText(v, step, largest)};
    return ticks;
}

QList<AxisTick> timeTicks(const AxisRange &minutes, int wanted,
                          const std::optional<QDateTime> &start)
{
    if (!start || !start->isValid())
        return valueTicks(minutes, wanted);
    QList<AxisTick> ticks;
    if (!(minutes.span() > 0.0) || !std::isfinite(minutes.span()))
        return ticks;
    const double rough = minutes.span() / std::clamp(wanted, 1, kMostTicks / 2);
    // Minutes since the start, counted as the logs count them: days of 1440 minutes.
    const QDateTime at0(start->date(), QTime(start->time().hour(), start->time().minute()),
                        Qt::UTC);
    const auto minutesTo = [&](const QDateTime &when) { return double(at0.secsTo(when)) / 60.0; };

    // Steps that divide a day keep ticks on round times; then whole days, weeks.
    static const double kSteps[] = {1,   2,   5,   10,   15,   30,    60,   120,
                                    180, 360, 720, 1440, 2880, 10080, 20160};
    for (double step : kSteps) {
        if (step < rough)
            continue;
        const double midnight = minutesTo(QDateTime(start->date(), QTime(0, 0), Qt::UTC));
        const QString pattern =
            step < kMinutesPerDay ? QStringLiteral("d MMM HH:mm") : QStringLiteral("d MMM");
        for (double m : multiplesIn(minutes, step, midnight))
            ticks << AxisTick{m, QLocale::c().toString(at0.addSecs(qint64(m) * 60), pattern)};
        return ticks;
    }
    // Longer: the first days of months, every 1, 2, 3, 6 or 12 of them, or whole years beyond.
    const double roughMonths = rough / (30.44 * kMinutesPerDay);
    int months = 12 * int(std::max(1.0, niceStep(roughMonths / 12.0, 1)));
    for (int m : {1, 2, 3, 6, 12}) {
        if (m >= roughMonths) {
            months = m;
            break;
        }
    }
    QDate month(start->date().year(), start->date().month(), 1);
    const QDate last = at0.addSecs(qint64(std::min(minutes.high, 2.0e9)) * 60).date();
    while (month <= last && ticks.size() < kMostTicks) {
        const double m = minutesTo(QDateTime(month, QTime(0, 0), Qt::UTC));
        if ((month.year() * 12 + month.month() - 1) % months == 0 && minutes.contains(m))
            ticks << AxisTick{m, QLocale::c().toString(month, QStringLiteral("MMM yyyy"))};
        month = month.addMonths(1);
    }
    return ticks;
}

} // namespace lumen::driftlog::chartaxis
