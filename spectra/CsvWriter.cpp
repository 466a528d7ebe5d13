#include "spectra/CsvWriter.h"

#include "common/core/CsvText.h"
#include "common/core/NumberText.h"
#include "spectra/EnergyCalibration.h"
#include "spectra/SpectrumDoubts.h"

namespace lumen {

const QString CsvWriter::kChannelColumn = QStringLiteral("channel");
const QString CsvWriter::kCountsColumn = QStringLiteral("counts");

QString CsvWriter::energyColumn(const QString &unit)
{
    return QStringLiteral("energy (%1)").arg(unit);
}

SpectrumImage CsvWriter::image(const Spectrum &spectrum)
{
    SpectrumImage image;
    QStringList dropped;
    if (spectrum.liveSeconds)
        dropped << QStringLiteral("live time");
    if (spectrum.realSeconds)
        dropped << QStringLiteral("real time");
    if (spectrum.start)
        dropped << QStringLiteral("start");
    if (spectrum.sampleTaken)
        dropped << QStringLiteral("sample date");
    if (!spectrum.descriptions.isEmpty())
        dropped << QStringLiteral("description");
    if (spectrum.sampleSize || !spectrum.sampleUnit.isEmpty())
        dropped << QStringLiteral("sample size");
    if (!dropped.isEmpty())
        image.losses << QStringLiteral("a CSV file carries no %1").arg(dropped.join(u", "));
    if (const QString pairs = SpectrumDoubts::deviationPairsLost(spectrum, QStringLiteral("CSV"));
        !pairs.isEmpty())
        image.losses << pairs;

    // What a CSV file holds of the value: its counts and its calibration's energies.
    Spectrum &carried = image.carried;
    carried.counts = spectrum.counts;
    const bool calibrated = energycalibration::calibrates(spectrum.coefficients);
    if (calibrated) {
        carried.coefficients = spectrum.coefficients;
        carried.calibrationUnit = spectrum.calibrationUnit;
    }

    QString text;
    text.reserve(qsizetype(spectrum.counts.size()) * (calibrated ? 28 : 12) + 40);
    text += kChannelColumn + u',';
    if (calibrated)
        text += lumen::csvtext::field(energyColumn(spectrum.calibrationUnit)) + u',';
    text += kCountsColumn + QStringLiteral("\r\n");
    for (std::size_t i = 0; i < spectrum.counts.size(); ++i) {
        text += QString::number(i) + u',';
        if (calibrated)
            text += lumen::exactDoubleText(
                        energycalibration::energyAt(spectrum.coefficients, double(i))) +
                    u',';
        text += QString::number(spectrum.counts[i]) + QStringLiteral("\r\n");
    }
    image.bytes = text.toUtf8();
    return image;
}

} // namespace lumen
