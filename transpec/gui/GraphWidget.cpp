#include "transpec/gui/GraphWidget.h"

#include "common/core/NumberText.h"
#include "transpec/core/BoxNames.h"

#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWheelEvent>
#include <cmath>

namespace lumen::transpec {

namespace {
constexpr int kLeft = 56; // room for the counts labels
constexpr int kRight = 10;
constexpr int kGap = 4;            // between a row of text and the next
constexpr double kWheelStep = 0.8; // view width kept per wheel notch

// The step between neighbouring ticks, for their labels' decimals.
double stepOf(const std::vector<double> &ticks)
{
    return ticks.size() > 1 ? ticks[1] - ticks[0] : 1.0;
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
    m_view.setEnergyUnit(m_model.spectrum().calibrationUnit);
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
    // Two rows above the plot (the titles and the readout, then the energy
    // labels) and two below (channel labels, their caption), as tall as the font.
    const int row = fontMetrics().height();
    return rect().adjusted(kLeft, 2 * row + 3 * kGap, -kRight, -(2 * row + 2 * kGap));
}

QRect GraphWidget::titleRow() const
{
    return QRect(kGap, kGap / 2, width() - kGap - kRight, fontMetrics().height());
}

QString GraphWidget::countsTitle() const
{
    return m_view.logScale() ? QStringLiteral("counts (log)") : QStringLiteral("counts");
}

QRect GraphWidget::readoutArea() const
{
    // Right of the counts title, so that the readout never covers it.
    const QRect row = titleRow();
    const int titleEnd = row.left() + fontMetrics().horizontalAdvance(countsTitle()) + 3 * kGap;
    return QRect(QPoint(titleEnd, row.top()), row.bottomRight());
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
    // A label takes about 80 pixels at the usual font; wider fonts get fewer ticks.
    const int labelWidth = std::max(80, fm.horizontalAdvance(QStringLiteral("00000.00")) + 8);
    const int across = std::max(2, plot.width() / labelWidth);
    const std::vector<double> channels = m_view.channelTicks(across);
    for (const double ch : channels) {
        const int x = plot.left() + int(std::lround(m_view.xOf(ch) * plot.width()));
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + kGap);
        painter.drawText(
            QRect(x - labelWidth / 2, plot.bottom() + kGap + 1, labelWidth, fm.height()),
            Qt::AlignHCenter, SpectrumView::tickText(ch, stepOf(channels)));
    }
    painter.drawText(
        QRect(plot.left(), height() - fm.height() - kGap / 2, plot.width(), fm.height()),
        Qt::AlignHCenter, QStringLiteral("channel"));
    if (m_view.hasEnergyAxis()) {
        const double e0 = m_view.energyAt(first);
        const double e1 = m_view.energyAt(last);
        const std::vector<double> energies = SpectrumView::linearTicks(e0, e1, across);
        for (const double e : energies) {
            // The channel of an energy, by bisection: the calibration rises over the view.
            double lo = first, hi = last;
            for (int i = 0; i < 40; ++i) {
                const double mid = (lo + hi) / 2;
                (m_view.energyAt(mid) < e ? lo : hi) = mid;
            }
            const int x = plot.left() + int(std::lround(m_view.xOf(lo) * plot.width()));
            painter.drawLine(x, plot.top(), x, plot.top() - kGap);
            painter.drawText(
                QRect(x - labelWidth / 2, plot.top() - kGap - fm.height(), labelWidth, fm.height()),
                Qt::AlignHCenter, SpectrumView::tickText(e, stepOf(energies)));
        }
        painter.drawText(QRect(0, plot.top() - kGap - fm.height(), kLeft - 2 * kGap, fm.height()),
                         Qt::AlignRight, m_view.energyUnit());
    }
    const std::vector<double> counts =
        m_view.countTicks(std::max(2, plot.height() / (2 * fm.height() + 8)));
    const double countStep = m_view.logScale() ? 1.0 : stepOf(counts);
    for (const double count : counts) {
        const int y = plot.bottom() - int(std::lround(m_view.heightOf(count) * plot.height()));
        painter.drawLine(plot.left() - kGap, y, plot.left(), y);
        painter.drawText(QRect(0, y - fm.height() / 2, kLeft - 6, fm.height()), Qt::AlignRight,
                         SpectrumView::tickText(count, countStep));
    }
    painter.drawText(titleRow(), Qt::AlignLeft, countsTitle());
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
    if (!m_readout.isEmpty()) {
        const QRect area = readoutArea();
        painter.drawText(area, Qt::AlignRight,
                         painter.fontMetrics().elidedText(m_readout, Qt::ElideLeft, area.width()));
    }
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
