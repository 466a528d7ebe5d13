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
 * Times: "HH:MM" or "HH:MM:SS", optionally followed by AM/PM.
 * Leading and trailing blanks are ignored.
 */
std::optional<QDate> parseDate(const QString &text);
std::optional<QTime> parseTime(const QString &text);
/** A date, optionally followed by blanks (or "T") and a time. */
std::optional<QDateTime> parseDateTime(const QString &text);

/** OLE Automation date: days since 30 December 1899, fraction = time of day. */
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
