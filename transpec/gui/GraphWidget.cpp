#include "transpec/gui/GraphWidget.h"

#include "common/core/NumberText.h"
#include "spectra/BoxNames.h"

#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>
#include <cmath>

namespace lumen::transpec {

namespace {
constexpr int kLeft = 56;   // room for the counts labels
constexpr int kBottom = 34; // channel labels and their caption
constexpr int kTop = 40;    // energy labels, their caption, the readout
constexpr int kRight = 10;
constexpr double kWheelStep = 0.8; // view width kept per wheel notch

QString tickText(double value)
{
    if (std::fabs(value) >= 1e5)
        return QString::number(value, 'g', 3);
    const bool whole = std::fabs(value - std::round(value)) < 1e-9;
    return QString::number(value, 'f', whole ? 0 : 1);
}
} // namespace

GraphWidget::GraphWidget(const ConvertModel &model, QWidget *parent)
    : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("GraphSpm"));
    setMinimumSize(240, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void GraphWidget::refresh()
{
    m_view.setCounts(m_model.channels().first(m_model.graphChannels()));
    refreshCalibration();
}

void GraphWidget::refreshCalibration()
{
    m_view.setCalibration(
        {lumen::numericValue(m_model.text(box::C0)), lumen::numericValue(m_model.text(box::C1)),
         lumen::numericValue(m_model.text(box::C2)), lumen::numericValue(m_model.text(box::C3))});
    update();
}

void GraphWidget::setLogScale(bool log)
{
    m_view.setLogScale(log);
    update();
}

void GraphWidget::resetZoom()
{
    m_view.resetZoom();
    update();
}

QRect GraphWidget::plotArea() const
{
    return rect().adjusted(kLeft, kTop, -kRight, -kBottom);
}

double GraphWidget::fractionAt(double x) const
{
    const QRect plot = plotArea();
    return std::clamp((x - plot.left()) / std::max(1, plot.width()), 0.0, 1.0);
}

void GraphWidget::drawAxes(QPainter &painter, const QRect &plot) const
{
    painter.setPen(Qt::black);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    const QFontMetrics fm = painter.fontMetrics();
    const double first = m_view.firstShown();
    const double last = first + m_view.shownCount();
    const int across = std::max(2, plot.width() / 80);
    for (const double ch : SpectrumView::linearTicks(first, last, across)) {
        const int x = plot.left() + int(std::lround(m_view.xOf(ch) * plot.width()));
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
        painter.drawText(QRect(x - 40, plot.bottom() + 5, 80, fm.height()), Qt::AlignHCenter,
                         tickText(ch));
    }
    painter.drawText(QRect(plot.left(), height() - fm.height(), plot.width(), fm.height()),
                     Qt::AlignHCenter, QStringLiteral("channel"));
    if (m_view.hasEnergyAxis()) {
        const double e0 = m_view.energyAt(first);
        const double e1 = m_view.energyAt(last);
        for (const double e : SpectrumView::linearTicks(e0, e1, across)) {
            // The channel of an energy, by bisection: the calibration rises over the view.
            double lo = first, hi = last;
            for (int i = 0; i < 40; ++i) {
                const double mid = (lo + hi) / 2;
                (m_view.energyAt(mid) < e ? lo : hi) = mid;
            }
            const int x = plot.left() + int(std::lround(m_view.xOf(lo) * plot.width()));
            painter.drawLine(x, plot.top(), x, plot.top() - 4);
            painter.drawText(QRect(x - 40, plot.top() - 4 - fm.height(), 80, fm.height()),
                             Qt::AlignHCenter, tickText(e));
        }
        painter.drawText(QRect(0, plot.top() - 4 - fm.height(), kLeft - 16, fm.height()),
                         Qt::AlignRight, QStringLiteral("keV"));
    }
    for (const double count : m_view.countTicks(std::max(2, plot.height() / 40))) {
        const int y = plot.bottom() - int(std::lround(m_view.heightOf(count) * plot.height()));
        painter.drawLine(plot.left() - 4, y, plot.left(), y);
        painter.drawText(QRect(0, y - fm.height() / 2, kLeft - 6, fm.height()), Qt::AlignRight,
                         tickText(count));
    }
    painter.drawText(QRect(4, 2, 120, fm.height()), Qt::AlignLeft,
                     m_view.logScale() ? QStringLiteral("counts (log)") : QStringLiteral("counts"));
}

void GraphWidget::paintEvent(QPaintEvent *)
{
    m_lineCount = 0;
    if (!m_view.drawable())
        return;
    QPainter painter(this);
    const QRect plot = plotArea();
    if (plot.width() < 2 || plot.height() < 2)
        return;
    const std::vector<double> heights = m_view.columnHeights(plot.width());
    std::vector<QLine> bars;
    bars.reserve(heights.size());
    for (std::size_t c = 0; c < heights.size(); ++c) {
        const int top = int(std::lround(heights[c] * (plot.height() - 1)));
        if (heights[c] > 0) {
            const int x = plot.left() + int(c);
            bars.emplace_back(x, plot.bottom(), x, plot.bottom() - std::max(top, 1));
        }
    }
    painter.setPen(QColor(255, 0, 0));
    painter.drawLines(bars.data(), int(bars.size()));
    m_lineCount = int(bars.size());

    if (m_dragFrom) {
        const int a = plot.left() + int(m_view.xOf(*m_dragFrom) * plot.width());
        const int b = plot.left() + int(m_view.xOf(m_dragTo) * plot.width());
        painter.fillRect(
            QRect(QPoint(std::min(a, b), plot.top()), QPoint(std::max(a, b), plot.bottom())),
            QColor(0, 0, 255, 40));
    }
    drawAxes(painter, plot);
    if (!m_readout.isEmpty())
        painter.drawText(QRect(plot.left(), 2, plot.width(), painter.fontMetrics().height()),
                         Qt::AlignRight, m_readout);
}

void GraphWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_view.drawable()) {
        m_dragFrom = m_view.channelAt(fractionAt(event->position().x()));
        m_dragTo = *m_dragFrom;
    }
}

void GraphWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_view.drawable())
        return;
    const double fraction = fractionAt(event->position().x());
    if (m_dragFrom)
        m_dragTo = m_view.channelAt(fraction);
    m_readout = m_view.readout(fraction);
    Q_EMIT readoutChanged(m_readout);
    update();
}

void GraphWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragFrom)
        return;
    const double from = *m_dragFrom;
    m_dragFrom.reset();
    const double to = m_view.channelAt(fractionAt(event->position().x()));
    // A click without a drag zooms nothing.
    if (std::fabs(to - from) * plotArea().width() / m_view.shownCount() >= 4)
        m_view.zoomTo(from, to);
    update();
}

void GraphWidget::mouseDoubleClickEvent(QMouseEvent *)
{
    resetZoom();
}

void GraphWidget::wheelEvent(QWheelEvent *event)
{
    if (!m_view.drawable())
        return;
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    m_view.zoomAround(m_view.channelAt(fractionAt(event->position().x())),
                      std::pow(kWheelStep, notches));
    update();
    event->accept();
}

} // namespace lumen::transpec
