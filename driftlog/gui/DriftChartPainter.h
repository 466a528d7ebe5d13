#pragma once

#include "driftlog/core/ControlChart.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace lumen::driftlog {

/**
 * Draws a control chart: elapsed minutes against drift, the baseline mean,
 * the warning and action limits, the tolerance, and the points that break a
 * rule marked (red for an action, orange for a warning). Plain QPainter, so
 * the same drawing serves the window and a picture made without a display.
 */
class DriftChartPainter
{
public:
    static void paint(QPainter &painter, const QRect &area, const ControlChart &chart);
    /** The chart as a picture of `size` pixels. */
    static QImage image(const ControlChart &chart, QSize size = QSize(1000, 600));
};

} // namespace lumen::driftlog
