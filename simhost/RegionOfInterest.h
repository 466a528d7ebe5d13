#pragma once

#include <QString>

namespace lumen {

/** One region of interest of a spectrum memory, in channels. */
struct RegionOfInterest
{
    int first = 0; ///< channel
    int last = 0;  ///< channel, inclusive
    QString label; ///< nuclide named by the ROI file or by analysis; may be empty
};

} // namespace lumen
