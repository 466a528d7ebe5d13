#pragma once

#include <QString>
#include <optional>

namespace lumen::driftlog {

/** The drift rules: keV and percent texts, and minutes elapsed since the reference. */
class DriftCalculator
{
public:
    /**
     * C - R in single precision, as short decimal text (at most 7 significant
     * digits). Nothing when the drift is no finite single-precision number.
     */
    static std::optional<QString> keVDriftText(double centre, float reference);
    /**
     * (C - R) / R x 100 in single precision, with the pattern "#0.0##".
     * Nothing when the result is no finite single-precision number.
     */
    static std::optional<QString> percentDriftText(double centre, float reference);

    /** A double as a single-precision number; nothing when it is not finite or out of range. */
    static std::optional<float> toSingle(double value);

    /**
     * Whole minutes from the reference to the measurement: whole days x 1440
     * plus the difference of hour x 60 + minute (seconds ignored). Nothing
     * when a date or time text cannot be read, or the result does not fit
     * 32 bits.
     */
    static std::optional<qint32> elapsedMinutes(const QString &date, const QString &time,
                                                const QString &referenceDate,
                                                const QString &referenceTime);
};

} // namespace lumen::driftlog
