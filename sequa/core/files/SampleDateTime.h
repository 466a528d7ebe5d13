#pragma once

#include <QString>

namespace lumen::sequa {

/**
 * The sample date and time texts sent to the host for decay correction:
 * "DD-MMM-YYYY" and "HH:MM:SS", in English whatever the locale.
 */
class SampleDateTime
{
public:
    /** A text that reads as a date in "DD-MMM-YYYY"; any other text unchanged. */
    static QString formatAsDate(const QString &text);
    /** A text that reads as a time of day in "HH:MM:SS"; any other text unchanged. */
    static QString formatAsTime(const QString &text);
    static bool isDate(const QString &text);
    static bool isTime(const QString &text);
    /** Today as "DD-MMM-YYYY" and now as "HH:MM:SS", on the current clock. */
    static QString today();
    static QString now();

    enum class Kind
    {
        TimeOfDay,
        Date,
        Neither
    };
    /** Whether a text is a time of day alone, a date (perhaps with a time), or neither. */
    static Kind kindOf(const QString &text);
};

} // namespace lumen::sequa
