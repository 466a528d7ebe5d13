#include "simhost/HostRandom.h"

#include <cmath>

namespace lumen {

double HostRandom::uniform()
{
    return double(m_engine() >> 11) * (1.0 / 9007199254740992.0);
}

double HostRandom::normal()
{
    if (m_hasSpare) {
        m_hasSpare = false;
        return m_spare;
    }
    double u1 = uniform();
    while (u1 <= 0.0)
        u1 = uniform();
    const double u2 = uniform();
    const double r = std::sqrt(-2.0 * std::log(u1));
    m_spare = r * std::sin(2.0 * M_PI * u2);
    m_hasSpare = true;
    return r * std::cos(2.0 * M_PI * u2);
}

std::int64_t HostRandom::poisson(double mean)
{
    if (!(mean > 0.0))
        return 0;
    if (mean < 30.0) {
        // Knuth's product of uniforms: exact and cheap for small means.
        const double limit = std::exp(-mean);
        std::int64_t k = 0;
        double product = uniform();
        while (product > limit) {
            ++k;
            product *= uniform();
        }
        return k;
    }
    // Large means: the normal approximation is well within the counting error.
    const double value = std::round(mean + std::sqrt(mean) * normal());
    return value < 0.0 ? 0 : std::int64_t(value);
}

} // namespace lumen
