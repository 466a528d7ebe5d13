#pragma once

#include "spectra/ChannelStore.h"

#include <vector>

namespace lumen::transpec {

/**
 * The bar graph of the channels: one vertical line per channel with a
 * positive count, in the drawing area's own units (y grows downwards).
 */
class SpectrumGraph
{
public:
    /**
     * The area's units. 16384 across makes the column step a whole number for
     * every power-of-two channel count, so such spectra fill the width exactly.
     */
    static constexpr double kWidth = 16384.0;
    static constexpr double kHeight = 10000.0;

    struct Line
    {
        double x;
        double yBase; ///< the baseline end
        double yTop;  ///< the count end
    };

    /**
     * Lines for the first `channels` counts in an area `width` x `height`.
     * Fewer than 128 channels draw nothing; more than the store holds are cut
     * to the store.
     */
    static std::vector<Line> lines(const ChannelStore &store, int channels, double width = kWidth,
                                   double height = kHeight);
};

} // namespace lumen::transpec
