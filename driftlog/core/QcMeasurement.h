#pragma once

#include "driftlog/core/QcRecord.h"

#include <QString>
#include <optional>

namespace lumen::driftlog {

/** What one append knows of the check-source measurement, as read from the report. */
struct QcMeasurement
{
    QString date; ///< measurement date and time texts
    QString time;
    QString referenceDate;
    QString referenceTime;
    qint32 minutes = 0;
    double centre = 0.0;
    float referenceCentre = 0.0f;
    QString fwhm; ///< texts of the report, empty when it gives none
    QString netArea;
    QString liveTime;
    std::optional<double> halfLifeSeconds;

    /**
     * The QC log's line: the date-time with the local UTC offset, the drift,
     * the count rate (net area / live time, when both are positive numbers)
     * and, with a half-life, that rate decay-corrected to the reference's
     * date-time: rate x 2^(t / half-life).
     */
    QcRecord record() const;

    /** ISO 8601 with the offset the local time zone has at that moment; empty when unreadable. */
    static QString isoWithOffset(const QString &date, const QString &time);
};

} // namespace lumen::driftlog
