#include "transpec/core/SpectrumView.h"

#include <algorithm>
#include <cmath>

#include <QString>

namespace lumen::transpec {

void SpectrumView::setCounts(std::span<const std::int32_t> counts)
{
    m_counts.assign(counts.begin(), counts.end());
    resetZoom();
}

void SpectrumView::setCalibration(const std::array<double, 4> &coefficients)
{
    m_calibration = coefficients;
}

bool SpectrumView::zoomed() const
{
    return m_first > 0 || m_count < double(m_counts.size());
}

void SpectrumView::resetZoom()
{
    m_first = 0;
    m_count = std::max<double>(1, double(m_counts.size()));
}

void SpectrumView::clampView()
{
    const double n = std::max<double>(1, double(m_counts.size()));
    m_count = std::clamp(m_count, std::min<double>(kNarrowestView, n), n);
    m_first = std::clamp(m_first, 0.0, n - m_count);
}

void SpectrumView::zoomTo(double a, double b)
{
    const double lo = std::min(a, b);
    const double width = std::max(std::fabs(b - a), double(kNarrowestView));
    m_first = lo - (width - std::fabs(b - a)) / 2;
    m_count = width;
    clampView();
}

void SpectrumView::zoomAround(double channel, double factor)
{
    const double fraction = xOf(channel);
    m_count *= factor;
    clampView();
    m_first = channel - fraction * m_count;
    clampView();
}

double SpectrumView::energyAt(double channel) const
{
    const auto &c = m_calibration;
    return c[0] + channel * (c[1] + channel * (c[2] + channel * c[3]));
}

std::int32_t SpectrumView::tallestShown() const
{
    const int from = std::max(0, int(std::floor(m_first)));
    const int to = std::min(int(m_counts.size()), int(std::ceil(m_first + m_count)));
    std::int32_t tallest = 0;
    for (int i = from; i < to; ++i)
        tallest = std::max(tallest, m_counts[std::size_t(i)]);
    return tallest;
}

double SpectrumView::heightOf(double count) const
{
    const double tallest = tallestShown();
    if (count <= 0 || tallest <= 0)
        return 0.0;
    const double h = m_log ? std::log10(1 + count) / std::log10(1 + tallest) : count / tallest;
    return std::min(h, 1.0);
}

std::vector<double> SpectrumView::columnHeights(int columns) const
{
    std::vector<double> heights(std::size_t(std::max(columns, 0)), 0.0);
    if (!drawable() || columns <= 0)
        return heights;
    const double tallest = tallestShown();
    if (tallest <= 0)
        return heights;
    const double logTallest = std::log10(1 + tallest);
    const int n = int(m_counts.size());
    for (int c = 0; c < columns; ++c) {
        const int from = std::clamp(int(std::floor(channelAt(double(c) / columns))), 0, n - 1);
        const int to = std::clamp(int(std::ceil(channelAt(double(c + 1) / columns))), from + 1, n);
        std::int32_t top = 0;
        for (int i = from; i < to; ++i)
            top = std::max(top, m_counts[std::size_t(i)]);
        if (top > 0)
            heights[std::size_t(c)] =
                m_log ? std::log10(1.0 + top) / logTallest : double(top) / tallest;
    }
    return heights;
}

QString SpectrumView::readout(double xFraction) const
{
    if (m_counts.empty())
        return QString();
    const int channel =
        std::clamp(int(std::floor(channelAt(xFraction))), 0, int(m_counts.size()) - 1);
    QString text = QStringLiteral("Channel %1").arg(channel);
    if (hasEnergyAxis())
        text += QStringLiteral("  %1 %2").arg(energyAt(channel), 0, 'f', 2).arg(m_unit);
    return text + QStringLiteral("  Counts %1").arg(m_counts[std::size_t(channel)]);
}

std::vector<double> SpectrumView::linearTicks(double lo, double hi, int maxTicks, double finest)
{
    std::vector<double> ticks;
    if (!(hi > lo) || maxTicks < 1)
        return ticks;
    const double rough = std::max((hi - lo) / maxTicks, finest);
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = magnitude;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * magnitude;
        if (step >= rough)
            break;
    }
    for (double t = std::ceil(lo / step) * step; t <= hi + step * 1e-9; t += step)
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    return ticks;
}

QString SpectrumView::tickText(double value, double step)
{
    if (std::fabs(value) >= 1e6)
        return QString::number(value, 'g', 4);
    const int decimals = step > 0 ? std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 6) : 0;
    return QString::number(value, 'f', decimals);
}

std::vector<double> SpectrumView::channelTicks(int maxTicks) const
{
    return linearTicks(m_first, m_first + m_count, maxTicks, 1.0);
}

std::vector<double> SpectrumView::countTicks(int maxTicks) const
{
    const double tallest = tallestShown();
    if (!m_log)
        return linearTicks(0, tallest, maxTicks);
    std::vector<double> ticks;
    for (double decade = 1; decade <= tallest; decade *= 10)
        ticks.push_back(decade);
    return ticks;
}

} // namespace lumen::transpec
