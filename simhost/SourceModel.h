#pragma once

#include <vector>

namespace lumen {

/**
 * What the simulated detector sees: a few nuclide lines on a continuum,
 * spread by the detector's resolution and placed by its energy calibration.
 * A gain factor above 1 moves every line to higher channels (the slow drift).
 */
class SourceModel
{
public:
    struct Line
    {
        double energy;   ///< keV
        double emission; ///< photons per second leaving the source
    };

    /** The default model for a spectrum of `channels` channels (0..~4096 keV). */
    explicit SourceModel(int channels = 8192);

    int channels() const { return m_channels; }
    /** keV of a (fractional) channel, without drift: the host's calibration. */
    double energyOfChannel(double channel) const { return m_offset + m_slope * channel; }
    double channelOfEnergy(double energy) const { return (energy - m_offset) / m_slope; }
    /** keV per channel. */
    double slope() const { return m_slope; }
    /** Full width at half maximum at `energy`, keV. */
    double fwhm(double energy) const;
    /** Full-energy peak efficiency of the detector (counts per photon). */
    static double detectorEfficiency(double energy);

    /** keV: nothing below the discriminator is counted. */
    static constexpr double kThreshold = 20.0;
    /** keV: where a peak search starts, clear of the discriminator's edge. */
    static constexpr double kSearchStart = 30.0;

    const std::vector<Line> &lines() const { return m_lines; }

    /** Expected counts per live second in each channel at the given gain factor. */
    std::vector<double> expectedRates(double gain) const;
    /** The sum of expectedRates(1.0): counts per live second, for the dead time. */
    double totalRate() const { return m_totalRate; }

private:
    int m_channels;
    double m_offset = 0.0; ///< keV
    double m_slope;        ///< keV per channel
    std::vector<Line> m_lines;
    std::vector<double> m_continuum; ///< counts per live second per channel
    double m_totalRate = 0.0;
};

} // namespace lumen
