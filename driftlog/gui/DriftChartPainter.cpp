#include "driftlog/gui/DriftChartPainter.h"

#include "common/core/NumberText.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace lumen::driftlog {

namespace {
const QColor kMeanColour(0, 128, 0);
const QColor kWarningColour(230, 140, 0);
const QColor kActionColour(200, 0, 0);
const QColor kToleranceColour(120, 0, 160);
const QColor kPointColour(30, 80, 200);

/** A tick step of 1, 2 or 5 times a power of ten giving about eight ticks. */
double tickStep(double span)
{
    const double rough = span / 8.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= rough)
            return m * power;
    return 10.0 * power;
}

QString tickText(double value)
{
    return lumen::shortDoubleText(std::fabs(value) < 1e-12 ? 0.0 : value);
}

/** Maps drift and minutes onto the plot rectangle. */
struct Scale
{
    QRectF plot;
    double xMin, xMax, yMin, yMax;
    double x(double minutes) const
    {
        return plot.left() + (minutes - xMin) / (xMax - xMin) * plot.width();
    }
    double y(double drift) const
    {
        return plot.bottom() - (drift - yMin) / (yMax - yMin) * plot.height();
    }
};

Scale scaleFor(const ControlChart &chart, const QRectF &plot)
{
    double xMax = 1.0;
    double yMin = 0.0;
    double yMax = 0.0;
    for (const DriftPoint &p : chart.points()) {
        xMax = std::max(xMax, double(p.minutes));
        yMin = std::min(yMin, p.drift);
        yMax = std::max(yMax, p.drift);
    }
    if (const auto &l = chart.limits()) {
        yMin = std::min(yMin, l->actionLow());
        yMax = std::max(yMax, l->actionHigh());
    }
    if (const auto t = chart.tolerance()) {
        yMin = std::min(yMin, -*t);
        yMax = std::max(yMax, *t);
    }
    double pad = (yMax - yMin) * 0.08;
    if (!(pad > 0.0))
        pad = std::max(std::fabs(yMax), 1.0) * 0.1;
    return {plot, 0.0, xMax * 1.02, yMin - pad, yMax + pad};
}

void drawAxes(QPainter &p, const Scale &s, const QString &unit)
{
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(s.plot);
    const QFontMetrics fm = p.fontMetrics();
    const double yStep = tickStep(s.yMax - s.yMin);
    for (double v = std::ceil(s.yMin / yStep) * yStep; v <= s.yMax; v += yStep) {
        const double y = s.y(v);
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(s.plot.left(), y), QPointF(s.plot.right(), y));
        p.setPen(Qt::black);
        const QString t = tickText(v);
        p.drawText(QPointF(s.plot.left() - 6 - fm.horizontalAdvance(t), y + fm.ascent() / 2.0), t);
    }
    const double xStep = tickStep(s.xMax - s.xMin);
    for (double v = 0.0; v <= s.xMax; v += xStep) {
        const double x = s.x(v);
        p.drawLine(QPointF(x, s.plot.bottom()), QPointF(x, s.plot.bottom() + 4));
        const QString t = tickText(v);
        p.drawText(QPointF(x - fm.horizontalAdvance(t) / 2.0, s.plot.bottom() + 6 + fm.ascent()),
                   t);
    }
    const QString xLabel = QStringLiteral("minutes since the reference");
    p.drawText(QPointF(s.plot.center().x() - fm.horizontalAdvance(xLabel) / 2.0,
                       s.plot.bottom() + 10 + 2 * fm.height()),
               xLabel);
    p.save();
    p.translate(s.plot.left() - 58, s.plot.center().y());
    p.rotate(-90);
    const QString yLabel = QStringLiteral("drift (%1)").arg(unit);
    p.drawText(QPointF(-fm.horizontalAdvance(yLabel) / 2.0, 0), yLabel);
    p.restore();
}

void drawLevel(QPainter &p, const Scale &s, double value, const QColor &colour, Qt::PenStyle style,
               const QString &label)
{
    const double y = s.y(value);
    p.setPen(QPen(colour, 1.5, style));
    p.drawLine(QPointF(s.plot.left(), y), QPointF(s.plot.right(), y));
    p.drawText(QPointF(s.plot.right() + 4, y + p.fontMetrics().ascent() / 2.0), label);
}

void drawLimits(QPainter &p, const Scale &s, const ControlChart &chart)
{
    if (const auto &l = chart.limits()) {
        drawLevel(p, s, l->actionHigh(), kActionColour, Qt::DashLine, QStringLiteral("+3s"));
        drawLevel(p, s, l->warningHigh(), kWarningColour, Qt::DashLine, QStringLiteral("+2s"));
        drawLevel(p, s, l->mean, kMeanColour, Qt::SolidLine, QStringLiteral("mean"));
        drawLevel(p, s, l->warningLow(), kWarningColour, Qt::DashLine, QStringLiteral("-2s"));
        drawLevel(p, s, l->actionLow(), kActionColour, Qt::DashLine, QStringLiteral("-3s"));
        // Where the baseline ends: the limits were drawn from the points left of it.
        const auto &points = chart.points();
        const double end = points[ControlLimits::kBaselinePoints - 1].minutes;
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.drawLine(QPointF(s.x(end), s.plot.top()), QPointF(s.x(end), s.plot.bottom()));
    }
    if (const auto t = chart.tolerance()) {
        drawLevel(p, s, *t, kToleranceColour, Qt::DotLine, QStringLiteral("+tol"));
        drawLevel(p, s, -*t, kToleranceColour, Qt::DotLine, QStringLiteral("-tol"));
    }
}

void drawPoints(QPainter &p, const Scale &s, const ControlChart &chart)
{
    const auto &points = chart.points();
    QPainterPath line;
    for (int i = 0; i < points.size(); ++i) {
        const QPointF at(s.x(points[i].minutes), s.y(points[i].drift));
        if (i == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
    }
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    for (int i = 0; i < points.size(); ++i) {
        const QPointF at(s.x(points[i].minutes), s.y(points[i].drift));
        const auto &broken = chart.brokenAt(i);
        QColor colour = kPointColour;
        double radius = 3.0;
        if (std::any_of(broken.begin(), broken.end(), isActionRule)) {
            colour = kActionColour;
            radius = 5.5;
        } else if (!broken.isEmpty()) {
            colour = kWarningColour;
            radius = 5.0;
        }
        p.setPen(QPen(colour.darker(130), 1));
        p.setBrush(colour);
        p.drawEllipse(at, radius, radius);
    }
}
} // namespace

void DriftChartPainter::paint(QPainter &painter, const QRect &area, const ControlChart &chart)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const QFontMetrics fm = painter.fontMetrics();
    const QRectF plot =
        QRectF(area).adjusted(80, 2.0 * fm.height() + 10, -50, -(3.0 * fm.height() + 20));
    const Scale s = scaleFor(chart, plot);

    painter.setPen(Qt::black);
    painter.drawText(
        QPointF(plot.left(), area.top() + fm.height() + 4),
        QStringLiteral("Drift control chart: %1 points; last: %2")
            .arg(chart.points().size())
            .arg(chart.points().isEmpty() ? QStringLiteral("none") : chart.verdict().text()));
    drawAxes(painter, s, chart.unit());
    drawLimits(painter, s, chart);
    drawPoints(painter, s, chart);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(plot.left(), area.bottom() - 6),
                     QStringLiteral("Marked: red action (1-3s, tolerance), orange warning "
                                    "(1-2s, 2-2s, R-4s, 10-x)"));
    painter.restore();
}

QImage DriftChartPainter::image(const ControlChart &chart, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, image.rect(), chart);
    painter.end();
    return image;
}

} // namespace lumen::driftlog
