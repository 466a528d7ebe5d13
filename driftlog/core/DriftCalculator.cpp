#include "driftlog/core/DriftCalculator.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"

#include <cmath>
#include <limits>

namespace lumen::driftlog {

namespace {
std::optional<float> singleDifference(double centre, float reference)
{
    // The centre is read in double precision and the difference kept in
    // single: 662.32 against 661.66 gives 0.6600268, not 0.6600342.
    return DriftCalculator::toSingle(centre - double(reference));
}

int minuteOfDay(const QTime &t)
{
    return t.hour() * 60 + t.minute();
}
} // namespace

std::optional<float> DriftCalculator::toSingle(double value)
{
    // Narrowing an out-of-range double is undefined behaviour, and a garbled
    // report can hold "1E+99" in the centre columns.
    if (!std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(value);
}

std::optional<QString> DriftCalculator::keVDriftText(double centre, float reference)
{
    const auto drift = singleDifference(centre, reference);
    if (!drift)
        return std::nullopt;
    return lumen::shortSingleText(*drift);
}

std::optional<QString> DriftCalculator::percentDriftText(double centre, float reference)
{
    const auto drift = singleDifference(centre, reference);
    if (!drift)
        return std::nullopt;
    const float percent = *drift / reference * 100.0f;
    if (!std::isfinite(percent))
        return std::nullopt;
    return lumen::formatNumber(double(percent), u"#0.0##");
}

std::optional<qint32> DriftCalculator::elapsedMinutes(const QString &date, const QString &time,
                                                      const QString &referenceDate,
                                                      const QString &referenceTime)
{
    const auto d = lumen::parseDate(date);
    const auto t = lumen::parseTime(time);
    const auto rd = lumen::parseDate(referenceDate);
    const auto rt = lumen::parseTime(referenceTime);
    if (!d || !t || !rd || !rt)
        return std::nullopt;
    const double minutes =
        double(rd->daysTo(*d)) * 1440.0 + double(minuteOfDay(*t) - minuteOfDay(*rt));
    try {
        return lumen::toInt32(minutes);
    } catch (const lumen::Failure &) {
        return std::nullopt;
    }
}

} // namespace lumen::driftlog
