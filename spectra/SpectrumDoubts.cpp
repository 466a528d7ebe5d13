#include "spectra/SpectrumDoubts.h"

#include "common/core/NumberText.h"
#include "spectra/EnergyCalibration.h"

#include <cmath>

namespace lumen {

QStringList SpectrumDoubts::of(const Spectrum &spectrum)
{
    QStringList doubts;
    for (const auto &[seconds, what] : {std::pair{&spectrum.liveSeconds, "live time"},
                                        std::pair{&spectrum.realSeconds, "real time"}}) {
        if (!*seconds)
            doubts << QStringLiteral("no %1 in the file, written as 0").arg(QLatin1String(what));
        else if (!std::isfinite(**seconds))
            doubts << QStringLiteral("the %1 is not a finite number, written as 0")
                          .arg(QLatin1String(what));
        else if (**seconds < 0)
            doubts << QStringLiteral("the %1 is negative (%2 s)")
                          .arg(QLatin1String(what), lumen::shortDoubleText(**seconds));
    }
    const double live = spectrum.liveSeconds.value_or(0.0);
    const double real = spectrum.realSeconds.value_or(0.0);
    if (std::isfinite(live) && std::isfinite(real) && real < live)
        doubts << QStringLiteral("the real time (%1 s) is below the live time (%2 s)")
                      .arg(lumen::shortDoubleText(real), lumen::shortDoubleText(live));
    qsizetype negative = 0;
    qsizetype first = -1;
    for (std::size_t i = 0; i < spectrum.counts.size(); ++i) {
        if (spectrum.counts[i] < 0) {
            if (negative++ == 0)
                first = qsizetype(i);
        }
    }
    if (negative > 0)
        doubts << (negative == 1 ? QStringLiteral("a negative count in channel %1").arg(first)
                                 : QStringLiteral("negative counts in %1 channels, the first "
                                                  "in channel %2")
                                       .arg(negative)
                                       .arg(first));
    return doubts;
}

QString SpectrumDoubts::deviationPairsLost(const Spectrum &spectrum, const QString &format)
{
    if (spectrum.deviationPairs.empty())
        return QString();
    return QStringLiteral("%1 energy deviation pairs (up to %2 %3) are not applied: the %4 file "
                          "keeps the polynomial alone")
        .arg(spectrum.deviationPairs.size())
        .arg(lumen::shortDoubleText(energycalibration::largestDeviation(spectrum.deviationPairs)),
             spectrum.calibrationUnit, format);
}

} // namespace lumen
