#include "spectra/SpectrumText.h"

#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "spectra/BoxNames.h"

#include <QMap>
#include <QRegularExpression>

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

void putCoefficients(const QStringList &words, QMap<QString, QString> &boxes, QStringList &warnings)
{
    const QString *names[] = {&box::C0, &box::C1, &box::C2, &box::C3};
    for (int i = 0; i < 4; ++i) {
        const double c = i < words.size() ? numberOf(words[i], "a calibration coefficient") : 0.0;
        boxes[*names[i]] = lumen::shortSingleText(float(c));
    }
    if (words.size() > 4)
        warnings << QStringLiteral("%1 calibration coefficients, the ANS file carries 4")
                        .arg(words.size());
}

} // namespace lumen::spectrumtext
