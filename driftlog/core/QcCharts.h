#pragma once

#include "driftlog/core/ControlChart.h"
#include "driftlog/core/QcLog.h"
#include "driftlog/core/QcVerdict.h"
#include "driftlog/core/ToleranceSettings.h"

#include <QDateTime>
#include <optional>

namespace lumen::driftlog {

/**
 * The three quantities of the check source, each a control chart over the
 * minutes since the reference: the drift of StabData.txt's last series, and
 * the FWHM and the (decay-corrected) count rate of StabQC.csv's.
 */
struct QcCharts
{
    ControlChart drift;
    ControlChart fwhm;
    ControlChart rate;
    /** The reference's date and time, which the minutes count from; nothing when unreadable. */
    std::optional<QDateTime> start;

    /**
     * `unit` is the drift's ("%" or "keV"). FWHM is judged upward only, with
     * `fwhm` as its upper tolerance; the rate both ways, its tolerance `rate` %
     * of the reference's rate (of the series' first rate when the QC log holds
     * no reference line).
     */
    static QcCharts of(const DriftSeries &drift, const QcLog::Series &qc,
                       const ToleranceSettings &settings, int mode, const QString &unit);

    /** The verdict on the point logged at `minutes`: each chart whose newest point it is. */
    QcVerdict verdictAt(qint32 minutes) const;
};

} // namespace lumen::driftlog
