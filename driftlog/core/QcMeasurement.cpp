#include "driftlog/core/QcMeasurement.h"

#include "common/core/DateText.h"
#include "common/core/NumberText.h"

#include <QDateTime>
#include <cmath>

namespace lumen::driftlog {

namespace {
// The suite's one rule for local times, so that a measurement in the hour a
// change of daylight saving time skips still has its moment.
std::optional<QDateTime> localDateTime(const QString &date, const QString &time)
{
    const auto d = lumen::parseDate(date);
    const auto t = lumen::parseTime(time);
    if (!d || !t)
        return std::nullopt;
    return lumen::localDateTime(*d, *t);
}

std::optional<double> positiveNumber(const QString &text)
{
    QString plain = text;
    plain.remove(QLatin1Char(',')); // counts may carry thousands commas
    if (!lumen::isNumberText(plain))
        return std::nullopt;
    const double v = lumen::numericValue(plain);
    if (!std::isfinite(v) || v < 0.0 || v > 1e12)
        return std::nullopt;
    return v;
}
} // namespace

QString QcMeasurement::isoWithOffset(const QString &date, const QString &time)
{
    const auto local = localDateTime(date, time);
    if (!local)
        return QString();
    return local->toOffsetFromUtc(local->offsetFromUtc()).toString(Qt::ISODate);
}

QcRecord QcMeasurement::record() const
{
    QcRecord r;
    r.dateTime = isoWithOffset(date, time);
    r.minutes = minutes;
    r.centre = centre;
    // The reference's own line has no drift by definition, though its centre
    // text is finer than the single-precision reference kept.
    if (minutes != 0) {
        r.driftKeV = float(centre - double(referenceCentre));
        r.driftPercent = (centre - double(referenceCentre)) / double(referenceCentre) * 100.0;
    }
    r.fwhm = positiveNumber(fwhm);
    r.netArea = positiveNumber(netArea);
    r.liveTime = positiveNumber(liveTime);
    if (r.netArea && r.liveTime && *r.liveTime > 0.0)
        r.rate = *r.netArea / *r.liveTime;
    const auto at = localDateTime(date, time);
    const auto reference = localDateTime(referenceDate, referenceTime);
    if (r.rate && halfLifeSeconds && at && reference) {
        const double seconds = double(reference->secsTo(*at));
        r.correctedRate = *r.rate * std::exp2(seconds / *halfLifeSeconds);
    }
    return r;
}

} // namespace lumen::driftlog
