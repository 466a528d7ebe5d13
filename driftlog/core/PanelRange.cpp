#include "driftlog/core/PanelRange.h"

namespace lumen::driftlog {

PanelRange PanelRange::of(const ControlChart &chart, bool withZero)
{
    const bool both = chart.spec().sides == Sides::Both;
    QList<double> shown;
    if (withZero)
        shown << 0.0;
    for (const DriftPoint &p : chart.points())
        shown << p.drift;
    if (const auto &l = chart.limits()) {
        shown << l->actionHigh() << (both ? l->actionLow() : l->mean);
        for (const EwmaPoint &e : chart.ewma())
            shown << e.value;
    }
    PanelRange range;
    const AxisRange core = chartaxis::rangeOf(shown, 0.0);
    if (const auto &t = chart.tolerance()) {
        QList<double> levels{t->high()};
        if (both)
            levels << t->low();
        // Within one span of the data the points keep at least a third of the panel.
        const AxisRange reach{core.low - core.span(), core.high + core.span()};
        for (double level : levels) {
            if (reach.contains(level))
                shown << level;
            else
                range.offScale << level;
        }
    }
    range.values = chartaxis::rangeOf(shown);
    return range;
}

} // namespace lumen::driftlog
