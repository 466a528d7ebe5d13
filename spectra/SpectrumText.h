#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace lumen::spectrumtext {

/** Ends the reading of a text spectrum: Failure(why). */
[[noreturn]] void malformed(const QString &why);
/** The blank-separated words of a text. */
QStringList wordsOf(const QString &text);
/**
 * A word that must be one number (perhaps beyond double range: then
 * infinite, for the checks of the value to name); `what` names it in the
 * failure.
 */
double numberOf(const QString &word, const char *what);
/**
 * A word that must be a whole number within 32 bits; `what` names it (and
 * where it stands) in the failure.
 */
std::int32_t wholeNumberOf(const QString &word, const QString &what);
/** The coefficients of a calibration, in order. */
std::vector<double> coefficientsOf(const QStringList &words);

/**
 * A stored date and time as a local moment. Nothing when either cannot be
 * read; then, unless both hold nothing but blanks and separators,
 * `warnings` gets "the WHAT "DATE TIME" cannot be read".
 */
std::optional<QDateTime> momentOf(const QString &dateText, const QString &timeText,
                                  const char *what, QStringList &warnings);

/**
 * A single-precision field as the decimal it shows (0.1f is 0.1, not
 * 0.100000001490116), so that no digits appear that the file never meant.
 */
double decimalOf(float stored);

} // namespace lumen::spectrumtext
