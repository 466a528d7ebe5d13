#pragma once

#include <algorithm>
#include <span>
#include <utility>

namespace lumen::energycalibration {

/** c0 + c1 ch + c2 ch^2 + ... at `channel`; 0 without coefficients. */
inline double energyAt(std::span<const double> coefficients, double channel)
{
    double energy = 0;
    for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c)
        energy = energy * channel + *c;
    return energy;
}

/** Whether the coefficients give energies at all (some coefficient beyond c0 is not 0). */
inline bool calibrates(std::span<const double> coefficients)
{
    for (std::size_t i = 1; i < coefficients.size(); ++i) {
        if (coefficients[i] != 0)
            return true;
    }
    return false;
}

/**
 * The deviation at `energy` (a polynomial energy) of pairs rising in energy:
 * straight between two pairs, the nearest pair's beyond either end; 0
 * without pairs.
 */
inline double deviationAt(std::span<const std::pair<double, double>> pairs, double energy)
{
    if (pairs.empty())
        return 0;
    if (energy <= pairs.front().first)
        return pairs.front().second;
    if (energy >= pairs.back().first)
        return pairs.back().second;
    const auto above = std::upper_bound(pairs.begin(), pairs.end(), energy,
                                        [](double e, const auto &p) { return e < p.first; });
    const auto below = above - 1;
    const double span = above->first - below->first;
    if (span <= 0)
        return below->second;
    const double t = (energy - below->first) / span;
    return below->second + t * (above->second - below->second);
}

/** The largest deviation of the pairs in size; 0 without pairs. */
inline double largestDeviation(std::span<const std::pair<double, double>> pairs)
{
    double largest = 0;
    for (const auto &pair : pairs)
        largest = std::max(largest, pair.second < 0 ? -pair.second : pair.second);
    return largest;
}

} // namespace lumen::energycalibration
