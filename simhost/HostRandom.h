#pragma once

#include <cstdint>
#include <random>

namespace lumen {

/**
 * Seeded random numbers whose sequence is the same on every platform (the
 * standard distributions are not), so one seed and one script always give
 * the same counts.
 */
class HostRandom
{
public:
    explicit HostRandom(std::uint64_t seed) : m_engine(seed) {}

    /** Uniform in [0, 1). */
    double uniform();
    /** Standard normal. */
    double normal();
    /** Poisson with the given mean (0 for a mean <= 0). */
    std::int64_t poisson(double mean);

private:
    std::mt19937_64 m_engine;
    bool m_hasSpare = false;
    double m_spare = 0.0;
};

} // namespace lumen
