#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace lumen::transpec {

/**
 * What the spectrum graph shows, independent of any drawing: the channels in
 * view (all, or a zoomed range), linear or logarithmic counts, the tallest
 * channel in view filling the height, a channel axis and, when C(1) > 0, an
 * energy axis. Positions are fractions of the plot (x from the left, heights
 * from the bottom), so the graph grows with its window.
 */
class SpectrumView
{
public:
    /** Fewer channels than this are not drawn. */
    static constexpr int kMinimumChannels = 128;
    /** A zoom never shows fewer channels than this. */
    static constexpr int kNarrowestView = 8;

    void setCounts(std::span<const std::int32_t> counts);
    /** C(0)..C(3) of E = C0 + C1 ch + C2 ch^2 + C3 ch^3, in energyUnit(). */
    void setCalibration(const std::array<double, 4> &coefficients);
    /** The calibration's unit as its source named it ("keV" unless set). */
    void setEnergyUnit(const QString &unit) { m_unit = unit; }
    const QString &energyUnit() const { return m_unit; }
    void setLogScale(bool log) { m_log = log; }

    bool drawable() const { return int(m_counts.size()) >= kMinimumChannels; }
    bool logScale() const { return m_log; }
    bool hasEnergyAxis() const { return m_calibration[1] > 0.0; }
    int channelCount() const { return int(m_counts.size()); }
    /** The channels in view: [firstShown, firstShown + shownCount). */
    double firstShown() const { return m_first; }
    double shownCount() const { return m_count; }
    bool zoomed() const;

    /** Shows the channels between a and b (either order), at least kNarrowestView. */
    void zoomTo(double a, double b);
    /** Narrows (factor < 1) or widens the view around `channel`, which stays in place. */
    void zoomAround(double channel, double factor);
    void resetZoom();

    double channelAt(double xFraction) const { return m_first + xFraction * m_count; }
    double xOf(double channel) const { return (channel - m_first) / m_count; }
    double energyAt(double channel) const;
    std::int32_t tallestShown() const;
    /** Height fraction of a count: the tallest channel in view is 1, 0 and below are 0. */
    double heightOf(double count) const;
    /**
     * One height per plot column: the tallest channel the column covers, so
     * that no peak between two pixels is lost however many channels there are.
     */
    std::vector<double> columnHeights(int columns) const;

    /** "Channel 1234  661.6 keV  Counts 5432" (no energy without a calibration, its own unit). */
    QString readout(double xFraction) const;

    /**
     * Axis labels between lo and hi: 1, 2 or 5 times a power of ten, at most
     * about maxTicks, never closer than `finest` (channels are whole).
     */
    static std::vector<double> linearTicks(double lo, double hi, int maxTicks, double finest = 0);
    /** A label of ticks `step` apart: as many decimals as tell two neighbours apart. */
    static QString tickText(double value, double step);
    /** The channel axis marks: whole channels. */
    std::vector<double> channelTicks(int maxTicks) const;
    /** Counts axis marks: linear ticks, or the powers of ten on a log scale. */
    std::vector<double> countTicks(int maxTicks) const;

private:
    void clampView();

    std::vector<std::int32_t> m_counts;
    std::array<double, 4> m_calibration{0, 0, 0, 0};
    QString m_unit = QStringLiteral("keV");
    bool m_log = false;
    double m_first = 0;
    double m_count = 1;
};

} // namespace lumen::transpec
