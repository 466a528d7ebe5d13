#pragma once

#include <span>

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

} // namespace lumen::energycalibration
