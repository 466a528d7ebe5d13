#pragma once

#include "simhost/PeakArea.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace lumen {

/** Peak search and peak areas on a spectrum of counts. */
class PeakAnalysis
{
public:
    /**
     * Measures the region first..last (clipped to the spectrum). The
     * background is the straight line between the mean of the region's first
     * three and last three channels, so net = gross - background exactly.
     */
    static PeakArea measure(const std::vector<std::int32_t> &counts, int first, int last);

    /**
     * Finds peaks by a smoothed second difference whose width follows the
     * detector resolution (`fwhmChannelsAt(channel)`), and measures each over
     * +-2.5 FWHM. Only peaks whose net area stands clear of the background's
     * counting error are kept; the result is in ascending channel order.
     * Channels below `fromChannel` (the discriminator's edge) are not searched.
     */
    static std::vector<PeakArea> search(const std::vector<std::int32_t> &counts,
                                        const std::function<double(double)> &fwhmChannelsAt,
                                        int fromChannel = 0);
};

} // namespace lumen
