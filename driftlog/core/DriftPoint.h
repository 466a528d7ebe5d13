#pragma once

#include <QList>
#include <QtGlobal>

namespace lumen::driftlog {

/** One measurement line of the stability log. */
struct DriftPoint
{
    qint32 minutes = 0; ///< elapsed since the reference
    double drift = 0.0; ///< in the log's unit (% or keV); the FWHM or the rate on their charts
};

using DriftSeries = QList<DriftPoint>;

} // namespace lumen::driftlog
