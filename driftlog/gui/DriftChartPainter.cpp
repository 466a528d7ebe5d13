#include "driftlog/gui/DriftChartPainter.h"

#include "common/core/NumberText.h"
#include "driftlog/core/PanelRange.h"

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
const QColor kEwmaColour(0, 140, 140);
constexpr double kLeftMargin = 80.0;
constexpr double kRightMargin = 50.0;

/** Maps values and minutes onto one panel's rectangle. */
struct Scale
{
    QRectF plot;
    AxisRange x;
    AxisRange y;
    double xAt(double minutes) const
    {
        return plot.left() + (minutes - x.low) / x.span() * plot.width();
    }
    double yAt(double value) const
    {
        return plot.bottom() - (value - y.low) / y.span() * plot.height();
    }
};

void drawFrame(QPainter &p, const Scale &s, const QString &label, bool xTicks,
               const std::optional<QDateTime> &start)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush); // the last panel's points leave their fill behind
    p.drawRect(s.plot);
    const QFontMetrics fm = p.fontMetrics();
    const int rows = int(std::max(2.0, s.plot.height() / (2.5 * fm.height())));
    for (const AxisTick &tick : chartaxis::valueTicks(s.y, rows)) {
        const double y = s.yAt(tick.at);
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(s.plot.left(), y), QPointF(s.plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(
            QPointF(s.plot.left() - 6 - fm.horizontalAdvance(tick.text), y + fm.ascent() / 2.0),
            tick.text);
    }
    const int columns = int(std::max(2.0, s.plot.width() / 110.0));
    for (const AxisTick &tick : chartaxis::timeTicks(s.x, columns, start)) {
        const double x = s.xAt(tick.at);
        p.setPen(QPen(QColor(235, 235, 235), 1));
        p.drawLine(QPointF(x, s.plot.top()), QPointF(x, s.plot.bottom()));
        p.setPen(Qt::black);
        p.drawLine(QPointF(x, s.plot.bottom()), QPointF(x, s.plot.bottom() + 4));
        if (xTicks)
            p.drawText(QPointF(x - fm.horizontalAdvance(tick.text) / 2.0,
                               s.plot.bottom() + 6 + fm.ascent()),
                       tick.text);
    }
    // The panel's name runs along its left edge, cut to the panel's height.
    p.save();
    p.translate(s.plot.left() - 58, s.plot.center().y());
    p.rotate(-90);
    const QString shown = fm.elidedText(label, Qt::ElideRight, int(s.plot.height()));
    p.drawText(QPointF(-fm.horizontalAdvance(shown) / 2.0, 0), shown);
    p.restore();
}

/** Labels already drawn at the right edge: a level too close to one keeps its line only. */
using LabelPlaces = QList<double>;

void drawLevel(QPainter &p, const Scale &s, double value, const QColor &colour, Qt::PenStyle style,
               const QString &label, LabelPlaces &places)
{
    const double y = s.yAt(value);
    p.setPen(QPen(colour, 1.5, style));
    p.drawLine(QPointF(s.plot.left(), y), QPointF(s.plot.right(), y));
    const double room = p.fontMetrics().height() * 0.9;
    if (std::any_of(places.begin(), places.end(),
                    [&](double taken) { return std::fabs(taken - y) < room; }))
        return;
    places << y;
    p.drawText(QPointF(s.plot.right() + 4, y + p.fontMetrics().ascent() / 2.0), label);
}

void drawLimits(QPainter &p, const Scale &s, const ControlChart &chart)
{
    const bool both = chart.spec().sides == Sides::Both;
    LabelPlaces places;
    if (const auto &l = chart.limits()) {
        drawLevel(p, s, l->actionHigh(), kActionColour, Qt::DashLine, QStringLiteral("+3s"),
                  places);
        drawLevel(p, s, l->warningHigh(), kWarningColour, Qt::DashLine, QStringLiteral("+2s"),
                  places);
        drawLevel(p, s, l->mean, kMeanColour, Qt::SolidLine, QStringLiteral("mean"), places);
        if (both) {
            drawLevel(p, s, l->warningLow(), kWarningColour, Qt::DashLine, QStringLiteral("-2s"),
                      places);
            drawLevel(p, s, l->actionLow(), kActionColour, Qt::DashLine, QStringLiteral("-3s"),
                      places);
        }
        // Where the baseline ends: the limits were drawn from the points left of it.
        const double end = chart.points()[ControlLimits::kBaselinePoints - 1].minutes;
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.drawLine(QPointF(s.xAt(end), s.plot.top()), QPointF(s.xAt(end), s.plot.bottom()));
    }
    if (const auto &t = chart.tolerance()) {
        for (const auto &[level, name] : {std::pair{t->high(), QStringLiteral("+tol")},
                                          std::pair{t->low(), QStringLiteral("-tol")}}) {
            if (name.startsWith(QLatin1Char('-')) && !both)
                continue;
            if (s.y.contains(level)) {
                drawLevel(p, s, level, kToleranceColour, Qt::DotLine, name, places);
                continue;
            }
            // Far from the points: named at the edge it lies beyond, so the points keep the panel.
            const bool above = level > s.y.high;
            const QString text =
                QStringLiteral("%1 %2 %3")
                    .arg(name, lumen::shortDoubleText(level),
                         above ? QStringLiteral("above") : QStringLiteral("below"));
            const QFontMetrics fm = p.fontMetrics();
            const double y =
                above ? s.plot.top() + fm.ascent() + 2 : s.plot.bottom() - fm.descent() - 2;
            p.setPen(kToleranceColour);
            p.drawText(QPointF(s.plot.right() - fm.horizontalAdvance(text) - 4, y), text);
        }
    }
}

/** The moving average and its limits, which narrow from the first point to their steady width. */
void drawEwma(QPainter &p, const Scale &s, const ControlChart &chart)
{
    const auto &ewma = chart.ewma();
    if (ewma.isEmpty() || !chart.spec().rules.has(ControlRule::Ewma))
        return;
    const bool both = chart.spec().sides == Sides::Both;
    QPainterPath value;
    QPainterPath high;
    QPainterPath low;
    for (int i = 0; i < ewma.size(); ++i) {
        const double x = s.xAt(chart.points()[i].minutes);
        const auto to = [&](QPainterPath &path, double v) {
            if (i == 0)
                path.moveTo(x, s.yAt(v));
            else
                path.lineTo(x, s.yAt(v));
        };
        to(value, ewma[i].value);
        to(high, ewma[i].high);
        to(low, ewma[i].low);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kEwmaColour, 1, Qt::DotLine));
    p.drawPath(high);
    if (both)
        p.drawPath(low);
    p.setPen(QPen(kEwmaColour, 1.5));
    p.drawPath(value);
}

void drawPoints(QPainter &p, const Scale &s, const ControlChart &chart)
{
    const auto &points = chart.points();
    QPainterPath line;
    for (int i = 0; i < points.size(); ++i) {
        const QPointF at(s.xAt(points[i].minutes), s.yAt(points[i].drift));
        if (i == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
    }
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    for (int i = 0; i < points.size(); ++i) {
        const QPointF at(s.xAt(points[i].minutes), s.yAt(points[i].drift));
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

void drawPanel(QPainter &p, const ControlChart &chart, const QRectF &plot, const AxisRange &x,
               const QString &label, bool xTicks, const std::optional<QDateTime> &start)
{
    const bool withZero = chart.spec().name == QLatin1String("drift");
    const Scale s{plot, x, PanelRange::of(chart, withZero).values};
    drawFrame(p, s, label, xTicks, start);
    if (chart.points().isEmpty()) {
        p.setPen(Qt::gray);
        const QString none =
            QStringLiteral("no %1 in the QC log's series yet").arg(chart.spec().name);
        p.drawText(plot, Qt::AlignCenter,
                   p.fontMetrics().elidedText(none, Qt::ElideRight, int(plot.width())));
        return;
    }
    p.save();
    p.setClipRect(plot.adjusted(-6, -6, 60, 6)); // the level names stand right of the frame
    drawLimits(p, s, chart);
    drawEwma(p, s, chart);
    drawPoints(p, s, chart);
    p.restore();
}
} // namespace

QString DriftChartPainter::title(const QcCharts &charts)
{
    const auto &points = charts.drift.points();
    return QStringLiteral("Check-source QC: %1 points; last: %2")
        .arg(points.size())
        .arg(points.isEmpty() ? QStringLiteral("none")
                              : charts.verdictAt(points.last().minutes).headline());
}

QString DriftChartPainter::legend()
{
    return QStringLiteral("Marked: red action (1-3s, ewma, cusum, tolerance), orange warning "
                          "(1-2s, 2-2s, R-4s, 10-x). Teal: the EWMA and its limits. FWHM is "
                          "judged upward only.");
}

void DriftChartPainter::paint(QPainter &painter, const QRect &area, const QcCharts &charts)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const QFontMetrics fm = painter.fontMetrics();
    const QRectF inner = QRectF(area).adjusted(kLeftMargin, 0, -kRightMargin, 0);

    painter.setPen(Qt::black);
    const QString heading = fm.elidedText(title(charts), Qt::ElideRight, int(area.width() - 20));
    painter.drawText(QPointF(area.left() + 10, area.top() + fm.height() + 4), heading);
    // The legend wraps to the width it has, so a narrow window keeps all of it.
    const QRectF legendBox(area.left() + 10, 0, area.width() - 20, area.height());
    const QRectF needed =
        painter.boundingRect(legendBox, Qt::TextWordWrap | Qt::AlignLeft, legend());
    const QRectF legendAt(legendBox.left(), area.bottom() - needed.height() - 4, legendBox.width(),
                          needed.height());
    painter.drawText(legendAt, Qt::TextWordWrap | Qt::AlignLeft, legend());

    const double top = area.top() + 2.0 * fm.height() + 10;
    const double xLabelSpace = 2.0 * fm.height() + 14;
    const double bottom = legendAt.top() - xLabelSpace;
    const double gap = fm.height() * 0.8;
    const double height = std::max(30.0, (bottom - top - 2.0 * gap) / 3.0);

    double xMax = 1.0;
    for (const ControlChart *c : {&charts.drift, &charts.fwhm, &charts.rate})
        for (const DriftPoint &p : c->points())
            xMax = std::max(xMax, double(p.minutes));
    const AxisRange x{0.0, xMax * 1.02}; // from the reference on

    const struct
    {
        const ControlChart *chart;
        QString label;
    } panels[] = {
        {&charts.drift, QStringLiteral("drift (%1)").arg(charts.drift.unit())},
        {&charts.fwhm, QStringLiteral("FWHM (keV)")},
        {&charts.rate, QStringLiteral("rate (cps)")},
    };
    for (int i = 0; i < 3; ++i) {
        const QRectF plot(inner.left(), top + i * (height + gap), inner.width(), height);
        drawPanel(painter, *panels[i].chart, plot, x, panels[i].label, i == 2, charts.start);
    }
    const QString xLabel = charts.start ? QStringLiteral("date of the check")
                                        : QStringLiteral("minutes since the reference");
    painter.setPen(Qt::black);
    const double labelY = top + 3 * height + 2 * gap + 10 + 2 * fm.height();
    painter.drawText(QPointF(inner.center().x() - fm.horizontalAdvance(xLabel) / 2.0, labelY),
                     xLabel);
    painter.restore();
}

QImage DriftChartPainter::image(const QcCharts &charts, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, image.rect(), charts);
    painter.end();
    return image;
}

} // namespace lumen::driftlog
