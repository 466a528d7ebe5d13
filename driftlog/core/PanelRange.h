#pragma once

#include "driftlog/core/ChartAxis.h"
#include "driftlog/core/ControlChart.h"

namespace lumen::driftlog {

/**
 * The value range of one chart panel: its points and control limits fill
 * it. A tolerance line within reach widens it; one so far away that the
 * points would shrink to a strip stays off the scale and is only named.
 */
struct PanelRange
{
    AxisRange values;
    /** Tolerance levels left outside `values`. */
    QList<double> offScale;

    /** `withZero`: the drift panel keeps its reference's 0 in sight. */
    static PanelRange of(const ControlChart &chart, bool withZero);
};

} // namespace lumen::driftlog
