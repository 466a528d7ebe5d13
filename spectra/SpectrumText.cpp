#include "spectra/SpectrumText.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"

#include <QRegularExpression>
#include <cmath>

namespace lumen::spectrumtext {

void malformed(const QString &why)
{
    throw lumen::Failure(why);
}

QStringList wordsOf(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

double numberOf(const QString &word, const char *what)
{
    if (!lumen::isNumberText(word))
        malformed(QStringLiteral("%1 \"%2\" is no number").arg(QLatin1String(what), word));
    return lumen::numericValue(word);
}

std::int32_t wholeNumberOf(const QString &word, const QString &what)
{
    if (!lumen::isNumberText(word))
        malformed(QStringLiteral("%1 \"%2\" is no number").arg(what, word));
    const double value = lumen::numericValue(word);
    if (value != std::floor(value))
        malformed(QStringLiteral("%1 \"%2\" is no whole number").arg(what, word));
    if (!(value >= -2147483648.0 && value <= 2147483647.0))
        malformed(QStringLiteral("%1 \"%2\" is beyond 32 bits").arg(what, word));
    return std::int32_t(value);
}

std::vector<double> coefficientsOf(const QStringList &words)
{
    std::vector<double> coefficients;
    for (const QString &word : words)
        coefficients.push_back(numberOf(word, "a calibration coefficient"));
    return coefficients;
}

std::optional<QDateTime> momentOf(const QString &dateText, const QString &timeText,
                                  const char *what, QStringList &warnings)
{
    const std::optional<QDate> date = lumen::parseDate(dateText);
    const std::optional<QTime> time = lumen::parseTime(timeText);
    if (date && time)
        return QDateTime(*date, *time);
    // Blank fields, or only the separators a writer puts between empty ones,
    // say that there is no date, not that it is unreadable.
    for (const QChar c : dateText + timeText) {
        if (!c.isSpace() && c != u'-' && c != u':') {
            warnings << QStringLiteral("the %1 \"%2 %3\" cannot be read")
                            .arg(QLatin1String(what), lumen::trimBlanks(dateText),
                                 lumen::trimBlanks(timeText));
            break;
        }
    }
    return std::nullopt;
}

double decimalOf(float stored)
{
    if (!std::isfinite(stored))
        return double(stored);
    return lumen::numericValue(lumen::shortSingleText(stored));
}

} // namespace lumen::spectrumtext
