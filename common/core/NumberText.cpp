#include "common/core/NumberText.h"

#include "common/core/Failure.h"

#include <QtGlobal>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace lumen {
namespace {

bool isSkippedBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Collects the characters that form the leading number, blanks dropped, in a
// form strtod reads ("D" exponents become "E"). `complete` tells whether the
// whole text was used.
std::string leadingNumber(QStringView text, bool *complete)
{
    std::string out;
    int i = 0;
    const int n = int(text.size());
    auto skip = [&] {
        while (i < n && isSkippedBlank(text[i]))
            ++i;
    };
    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        out += char(text[i].unicode());
        ++i;
        skip();
    }
    bool digits = false;
    bool point = false;
    while (i < n) {
        const QChar c = text[i];
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            out += char(c.unicode());
            digits = true;
        } else if (c == u'.' && !point) {
            out += '.';
            point = true;
        } else if (!isSkippedBlank(c)) {
            break;
        }
        ++i;
    }
    if (digits && i < n) {
        const QChar e = text[i].toUpper();
        if (e == u'E' || e == u'D') {
            // The exponent counts only when digits follow it.
            int j = i + 1;
            std::string exp = "e";
            while (j < n && isSkippedBlank(text[j]))
                ++j;
            if (j < n && (text[j] == u'+' || text[j] == u'-')) {
                exp += char(text[j].unicode());
                ++j;
            }
            bool expDigits = false;
            while (j < n) {
                const QChar c = text[j];
                if (c.unicode() >= '0' && c.unicode() <= '9') {
                    exp += char(c.unicode());
                    expDigits = true;
                } else if (!isSkippedBlank(c)) {
                    break;
                }
                ++j;
            }
            if (expDigits) {
                out += exp;
                i = j;
            }
        }
    }
    skip();
    if (complete)
        *complete = digits && i >= n;
    if (!digits)
        return std::string();
    return out;
}

double checkedRound(double value, double low, double high)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < low || r > high)
        throw Failure(kOverflow);
    return r;
}

QString withExponent(const QString &mantissa, int exponent)
{
    QString e = exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    e += QString::number(std::abs(exponent)).rightJustified(2, u'0');
    return mantissa + e;
}

// Shortest text with at most `digits` significant digits, the default display
// of a number: fixed form while the decimal exponent lies in [-5, digits),
// exponent form otherwise.
QString shortText(double value, int digits)
{
    if (value == 0 || !std::isfinite(value)) {
        if (std::isnan(value))
            return QStringLiteral("NaN");
        if (std::isinf(value))
            return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
        return QStringLiteral("0");
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
    // buf: [-]d.ddddde[+-]xx
    std::string s(buf);
    const auto epos = s.find('e');
    const int exponent = std::atoi(s.c_str() + epos + 1);
    std::string mant = s.substr(0, epos);
    const bool negative = mant[0] == '-';
    if (negative)
        mant.erase(0, 1);
    std::string digitsOnly;
    for (char c : mant)
        if (c != '.')
            digitsOnly += c;
    while (digitsOnly.size() > 1 && digitsOnly.back() == '0')
        digitsOnly.pop_back();

    QString result;
    if (exponent >= digits || exponent < -5) {
        QString m = QString::fromLatin1(digitsOnly.substr(0, 1));
        if (digitsOnly.size() > 1)
            m += u'.' + QString::fromLatin1(digitsOnly.substr(1));
        result = withExponent(m, exponent);
    } else if (exponent >= 0) {
        std::string intPart, frac;
        for (int k = 0; k <= exponent; ++k)
            intPart += k < int(digitsOnly.size()) ? digitsOnly[k] : '0';
        if (int(digitsOnly.size()) > exponent + 1)
            frac = digitsOnly.substr(exponent + 1);
        result = QString::fromLatin1(intPart);
        if (!frac.empty())
            result += u'.' + QString::fromLatin1(frac);
    } else {
        result =
            QStringLiteral("0.") + QString(-exponent - 1, u'0') + QString::fromLatin1(digitsOnly);
    }
    return negative ? u'-' + result : result;
}

QString withSignPlace(const QString &text)
{
    return text.startsWith(u'-') ? text : u' ' + text;
}

} // namespace

double numericValue(QStringView text)
{
    const std::string n = leadingNumber(text, nullptr);
    if (n.empty())
        return 0.0;
    const double v = std::strtod(n.c_str(), nullptr);
    return v;
}

float reportNumber(QStringView text)
{
    return float(numericValue(text));
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

std::int16_t toInt16(double value)
{
    return std::int16_t(checkedRound(value, -32768.0, 32767.0));
}

std::int32_t toInt32(double value)
{
    return std::int32_t(checkedRound(value, -2147483648.0, 2147483647.0));
}

std::int16_t int16OfText(QStringView text)
{
    return toInt16(numericValue(text));
}

std::int32_t int32OfText(QStringView text)
{
    return toInt32(numericValue(text));
}

bool isNumberText(QStringView text)
{
    // A strict number: blanks only around it, none inside.
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (isSkippedBlank(c))
            return false;
    bool complete = false;
    leadingNumber(t, &complete);
    return complete;
}

std::int16_t strictInt16(QStringView text)
{
    if (!isNumberText(text))
        throw Failure(kTypeMismatch);
    return toInt16(numericValue(text));
}

std::int32_t strictInt32(QStringView text)
{
    if (!isNumberText(text))
        throw Failure(kTypeMismatch);
    return toInt32(numericValue(text));
}

QString numberToText(qint64 value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

QString shortSingleText(float value)
{
    return shortText(double(value), 7);
}

QString shortDoubleText(double value)
{
    return shortText(value, 15);
}

QString exactDoubleText(double value)
{
    char buffer[400]; // the longest fixed text of a double is some 330 characters
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return r.ec == std::errc() ? QString::fromLatin1(buffer, r.ptr - buffer) : QString();
}

QString printSingleText(float value)
{
    return withSignPlace(shortSingleText(value));
}

QString printDoubleText(double value)
{
    return withSignPlace(shortDoubleText(value));
}

QString formatNumber(double value, QStringView pattern)
{
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView intPattern = point < 0 ? pattern : pattern.left(point);
    const QStringView fracPattern = point < 0 ? QStringView() : pattern.mid(point + 1);
    const int minInt = int(intPattern.count(u'0'));
    const int maxFrac = int(fracPattern.size());
    const int minFrac = int(fracPattern.lastIndexOf(u'0') + 1);

    // Half away from zero at the last decimal place, as the format function does.
    const double scale = std::pow(10.0, maxFrac);
    double rounded = std::round(std::fabs(value) * scale) / scale;
    QString text = QString::number(rounded, 'f', maxFrac);
    QString intPart = text, frac;
    if (maxFrac > 0) {
        intPart = text.section(u'.', 0, 0);
        frac = text.section(u'.', 1, 1);
    }
    while (frac.size() > minFrac && frac.endsWith(u'0'))
        frac.chop(1);
    if (intPart == QLatin1String("0") && minInt == 0)
        intPart.clear();
    if (intPart.size() < minInt)
        intPart = QString(minInt - intPart.size(), u'0') + intPart;
    QString result = intPart;
    if (point >= 0 && (!frac.isEmpty() || minFrac > 0 || maxFrac == 0))
        result += u'.' + frac;
    const bool negative = value < 0 && rounded != 0;
    return negative ? u'-' + result : result;
}

} // namespace lumen
