#pragma once

#include "common/core/RunOrigin.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace lumen::driftlog {

/** One line of the QC log StabQC.csv: a check-source measurement and what follows from it. */
struct QcRecord
{
    QString dateTime;    ///< ISO 8601 with the UTC offset, e.g. "2001-06-23T12:00:00+02:00"
    qint32 minutes = 0;  ///< since the reference, as in StabData.txt; 0 on the reference's line
    double centre = 0.0; ///< keV
    double driftPercent = 0.0;           ///< (C - R) / R x 100
    float driftKeV = 0.0f;               ///< C - R in single precision, as StabData.txt writes it
    std::optional<double> fwhm;          ///< keV
    std::optional<double> netArea;       ///< counts
    std::optional<double> liveTime;      ///< s
    std::optional<double> rate;          ///< net area / live time, counts per second
    std::optional<double> correctedRate; ///< the rate decay-corrected to the reference's date
    lumen::RunOrigin origin;             ///< the run, pass and line that logged it, when known
    QString reportSha256;                ///< of the report's bytes, hex; empty when not known
    /** The date_time of the measurement of the same run, pass and line that replaced it. */
    QString supersededBy;

    bool live() const { return supersededBy.isEmpty(); }

    /** The rate judged: the decay-corrected one when a half-life is set, else the measured. */
    std::optional<double> judgedRate(bool halfLifeSet) const
    {
        return halfLifeSet ? correctedRate : rate;
    }
};

} // namespace lumen::driftlog
