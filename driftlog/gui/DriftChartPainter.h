#pragma once

#include "driftlog/core/QcCharts.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace lumen::driftlog {

/**
 * Draws the three control charts of the check source as aligned panels over
 * one time axis, dated from the reference: drift, FWHM and count rate, each
 * with its baseline mean, warning and action limits, tolerance, and the
 * points that break a rule marked (red for an action, orange for a warning).
 * Each panel is scaled to its points and limits; a tolerance far from them is
 * named at the panel's edge rather than drawn.
 * Plain QPainter, so the same drawing serves the window and a picture made
 * without a display. Texts that do not fit are elided or wrapped.
 */
class DriftChartPainter
{
public:
    static void paint(QPainter &painter, const QRect &area, const QcCharts &charts);
    /** The charts as a picture of `size` pixels. */
    static QImage image(const QcCharts &charts, QSize size = QSize(1000, 900));
    /** The title line: points and the verdict on the newest one. */
    static QString title(const QcCharts &charts);
    static QString legend();
};

} // namespace lumen::driftlog
