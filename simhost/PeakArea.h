#pragma once

#include <QtGlobal>

namespace lumen {

/** The counts of one region of interest, measured from the spectrum. */
struct PeakArea
{
    int first = 0;                ///< first channel of the region
    int last = -1;                ///< last channel (inclusive)
    qint64 gross = 0;             ///< counts in the region
    qint64 background = 0;        ///< straight-line background under the region, counts
    qint64 continuum = 0;         ///< step-shaped continuum under the peak, counts
    qint64 net = 0;               ///< gross - background
    double centroidChannel = 0.0; ///< channel, fractional
    double fwhmChannels = 0.0;    ///< channels
    qint64 peakCounts = 0;        ///< counts of the fullest channel
};

} // namespace lumen
