#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace lumen {

/**
 * Numeric value of a text: blanks, tabs and line feeds anywhere are ignored;
 * then an optional sign, decimal digits with at most one "." and an optional
 * exponent ("E" or "D", optional sign, digits) are read; reading stops at the
 * first other character. A text that does not begin with a number gives 0.
 * "." is the decimal point whatever the locale. Used for command arguments,
 * value files, report numbers and box texts alike.
 */
double numericValue(QStringView text);

/** The report rule: numericValue stored in single precision. */
float reportNumber(QStringView text);

/** Rounds to the nearest integer, a half to the even neighbour. */
double roundHalfEven(double value);

/** 16-bit whole number: halves to even; outside -32768..32767 throws Failure(kOverflow). */
std::int16_t toInt16(double value);
/** 32-bit whole number: halves to even; out of range throws Failure(kOverflow). */
std::int32_t toInt32(double value);

/** toInt16(numericValue(text)). */
std::int16_t int16OfText(QStringView text);
/** toInt32(numericValue(text)). */
std::int32_t int32OfText(QStringView text);

/**
 * True when the whole text (leading and trailing blanks allowed) is one
 * number: sign, digits with at most one ".", optional E/D exponent.
 */
bool isNumberText(QStringView text);

/**
 * Strict whole number: the text must be a number as isNumberText says, else
 * Failure(kTypeMismatch); then rounded halves-to-even with the range check.
 */
std::int16_t strictInt16(QStringView text);
std::int32_t strictInt32(QStringView text);

/**
 * Number to text for command lines and replies: one leading blank when not
 * negative, a minus sign otherwise, no trailing blank. Whole numbers only.
 */
QString numberToText(qint64 value);

/**
 * Short decimal text of a single-precision value, the way a number is shown
 * by default: at most 7 significant digits, no trailing zeros, no decimal
 * point for a whole number, "0." before a fraction, exponent form
 * ("1E-06", "1.234568E+07") for very small or large values.
 */
QString shortSingleText(float value);
/** The same for double precision, with at most 15 significant digits. */
QString shortDoubleText(double value);

/**
 * The shortest decimal text, without an exponent, that reads back as exactly
 * `value` ("0.1", "300", "0.000001"): for files other programs read, where
 * no digit may be lost. Not finite: "nan", "inf" or "-inf".
 */
QString exactDoubleText(double value);

/** shortSingleText with the sign's place: a leading blank when not negative. */
QString printSingleText(float value);
/** shortDoubleText with the sign's place: a leading blank when not negative. */
QString printDoubleText(double value);

/**
 * Formats a number with a digit pattern such as "#####0.00" or "#0.0##":
 * "0" is a digit always shown, "#" a digit shown when significant; the value
 * is rounded half away from zero to the pattern's last decimal place.
 * "#0.0##" of 0.0997 gives "0.1"; "#####0.00" of 300 gives "300.00".
 */
QString formatNumber(double value, QStringView pattern);

} // namespace lumen
