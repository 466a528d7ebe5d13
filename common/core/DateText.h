#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace lumen {

/**
 * The one parser for every date and time text the programs read.
 * Dates: "DD-MMM-YYYY", "DD-MMM-YY", "DD-MMM-YY" + century character
 * ('1' = 20xx, '0' or blank = 19xx), "MMM DD, YYYY", "YYYY-MM-DD",
 * "MM/DD/YYYY", "MM/DD/YY", "DD.MM.YYYY"; month names in any letter case;
 * two-digit years 00-29 are 20xx and 30-99 are 19xx.
 * Times: "HH:MM" or "HH:MM:SS" (seconds may have a fraction, kept to the
 * millisecond), optionally followed by AM/PM.
 * Leading and trailing blanks are ignored.
 */
std::optional<QDate> parseDate(const QString &text);
std::optional<QTime> parseTime(const QString &text);
/**
 * A date, optionally followed by blanks (or "T") and a time, and after the
 * time optionally its offset from UTC ("Z", "+01:00", "-0500", "+01"). With an
 * offset the result is that moment (Qt::OffsetFromUTC); without one it is the
 * local time of localDateTime().
 */
std::optional<QDateTime> parseDateTime(const QString &text);

/**
 * The moment at which the local clock shows `time` on `date`: the one rule
 * for the hours a change of daylight saving time skips or repeats, which
 * every reader of a local time goes through. A time the spring-forward change
 * skips is read as the clock shows it after the change, that much later
 * (02:30 on a day clocks jump from 02:00 to 03:00 is 03:30); a time the
 * fall-back change shows twice is read as the second of the two, after the
 * change. The result is always a valid local date-time.
 */
QDateTime localDateTime(const QDate &date, const QTime &time);

/**
 * OLE Automation date: days since 30 December 1899, fraction = time of day,
 * a local time without a zone; fromOleDate() reads it by localDateTime(),
 * and gives an invalid date-time outside 1 January 100 to 31 December 9999.
 */
double toOleDate(const QDateTime &dateTime);
QDateTime fromOleDate(double oleDate);

/**
 * Formats with the design's patterns, in English whatever the locale:
 * "YYYY"/"yyyy", "YY"/"yy", "MMM" (Jan..Dec), "MM"/"mm" as month unless it
 * follows an hour token (then minutes), "DD"/"dd", "HH"/"hh", "NN"/"nn"
 * (minutes), "SS"/"ss"; other characters are copied.
 * Examples: "DD-MMM-YYYY", "MMM DD, YYYY", "HH:MM:SS", "yymmdd".
 */
QString formatDateTime(const QDateTime &dateTime, QStringView pattern);
QString formatDate(const QDate &date, QStringView pattern);
QString formatTime(const QTime &time, QStringView pattern);

/** English three-letter month name, 1 = "Jan". */
QString monthAbbreviation(int month);

} // namespace lumen
