#include "simhost/SourceModel.h"

#include <cmath>

namespace lumen {

namespace {
constexpr double kSigmaPerFwhm = 1.0 / 2.354820045;
}

SourceModel::SourceModel(int channels) : m_channels(channels), m_slope(4096.0 / double(channels))
{
    // Activities in Bq, yields per decay: a mixed check source on a soil-like background.
    const struct
    {
        double energy, activity, yield;
    } sources[] = {
        {59.54, 2000.0, 0.359},    {661.66, 5000.0, 0.851},    {1173.23, 3000.0, 0.9985},
        {1332.49, 3000.0, 0.9998}, {1460.82, 40000.0, 0.1066},
    };
    for (const auto &s : sources)
        m_lines.push_back({s.energy, s.activity * s.yield});

    m_continuum.assign(std::size_t(channels), 0.0);
    for (int ch = 0; ch < channels; ++ch) {
        const double e = energyOfChannel(ch);
        if (e < kThreshold)
            continue;
        // Scatter falls off with energy; a flat floor from cosmic rays.
        m_continuum[std::size_t(ch)] = (0.4 * std::exp(-e / 250.0) + 0.01) * (m_slope / 0.5);
    }
    for (double r : expectedRates(1.0))
        m_totalRate += r;
}

double SourceModel::fwhm(double energy) const
{
    // Electronic noise plus charge statistics.
    return std::sqrt(0.9 * 0.9 + 0.0023 * std::max(energy, 0.0));
}

double SourceModel::detectorEfficiency(double energy)
{
    if (energy <= 0.0)
        return 0.0;
    return 0.05 * std::pow(energy / 100.0, -0.8) * (1.0 - std::exp(-std::pow(energy / 40.0, 3.0)));
}

std::vector<double> SourceModel::expectedRates(double gain) const
{
    std::vector<double> rates = m_continuum;
    for (const Line &line : m_lines) {
        const double area = line.emission * detectorEfficiency(line.energy);
        const double centre = channelOfEnergy(line.energy) * gain;
        const double sigma = fwhm(line.energy) / m_slope * kSigmaPerFwhm * gain;
        const int from = std::max(0, int(std::floor(centre - 6.0 * sigma)));
        const int to = std::min(m_channels - 1, int(std::ceil(centre + 6.0 * sigma)));
        for (int ch = from; ch <= to; ++ch) {
            // Integrate the Gaussian over the channel's width so the areas add up exactly.
            const double a = (double(ch) - 0.5 - centre) / (sigma * M_SQRT2);
            const double b = (double(ch) + 0.5 - centre) / (sigma * M_SQRT2);
            rates[std::size_t(ch)] += area * 0.5 * (std::erf(b) - std::erf(a));
        }
    }
    return rates;
}

} // namespace lumen
