#include "spectra/AnsWriter.h"

#include "spectra/SpectrumDoubts.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/SafeFile.h"

#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace lumen {

namespace {
double secondsOrZero(const std::optional<double> &seconds)
{
    return seconds && std::isfinite(*seconds) ? *seconds : 0.0;
}

// The OLE date of a moment as the clock showed it where the file is
// converted; 0 (no date) when there is none.
double oleOf(const std::optional<QDateTime> &moment)
{
    if (!moment)
        return 0.0;
    const QDateTime local = moment->timeSpec() == Qt::LocalTime ? *moment : moment->toLocalTime();
    return lumen::toOleDate(QDateTime(local.date(), local.time()));
}
} // namespace

AnsHeader AnsWriter::headerOf(const Spectrum &spectrum, QStringList *losses)
{
    QStringList lost;
    AnsHeader header;
    header.setHeaderType(2);
    const QString joined = lumen::trimBlanks(spectrum.descriptions.value(0)) + u' ' +
                           lumen::trimBlanks(spectrum.descriptions.value(1));
    header.setSpectrumId(lumen::trimBlanks(joined.left(AnsHeader::kIdWidth)));
    if (lumen::trimBlanks(joined).size() > AnsHeader::kIdWidth)
        lost << QStringLiteral("the description is cut to the ANS file's %1 characters")
                    .arg(AnsHeader::kIdWidth);
    qsizetype further = 0;
    for (qsizetype i = 2; i < spectrum.descriptions.size(); ++i)
        further += lumen::trimBlanks(spectrum.descriptions[i]).isEmpty() ? 0 : 1;
    if (further == 1)
        lost << QStringLiteral("a description line beyond the second, the ANS file carries two");
    else if (further > 1)
        lost << QStringLiteral("%1 description lines beyond the second, the ANS file carries two")
                    .arg(further);

    header.setRealTime(secondsOrZero(spectrum.realSeconds));
    header.setLiveTime(secondsOrZero(spectrum.liveSeconds));
    header.setMcaStart(oleOf(spectrum.start));
    header.setSampleDateTime(oleOf(spectrum.sampleTaken));
    if (spectrum.sampleSize && std::isfinite(float(*spectrum.sampleSize)))
        header.setSampleSize(float(*spectrum.sampleSize));
    const QString unit = lumen::trimBlanks(spectrum.sampleUnit);
    header.setSampleUnits(unit.left(AnsHeader::kUnitsWidth));
    if (unit.size() > AnsHeader::kUnitsWidth)
        lost << QStringLiteral("the sample unit \"%1\" is cut to the ANS file's %2 characters")
                    .arg(unit)
                    .arg(AnsHeader::kUnitsWidth);
    header.setGroupSize(std::int16_t(std::min(spectrum.channelCount(), kMaxChannels)));

    const std::vector<double> &c = spectrum.coefficients;
    for (std::size_t i = 0; i < 4 && i < c.size(); ++i) {
        if (std::isfinite(float(c[i])))
            header.setCoefficient(int(i), float(c[i]));
        else
            lost << QStringLiteral("C(%1) is beyond single precision, written as 0").arg(i);
    }
    std::size_t used = c.size();
    while (used > 4 && c[used - 1] == 0.0)
        --used;
    if (used > 4)
        lost << QStringLiteral("%1 calibration coefficients, the ANS file carries 4").arg(used);
    if (!c.empty() && spectrum.calibrationUnit.compare(u"keV", Qt::CaseInsensitive) != 0)
        lost << QStringLiteral("the calibration is in %1, the ANS file takes keV")
                    .arg(spectrum.calibrationUnit);
    if (const QString pairs = SpectrumDoubts::deviationPairsLost(spectrum, QStringLiteral("ANS"));
        !pairs.isEmpty())
        lost << pairs;
    if (!spectrum.start)
        lost << QStringLiteral("no acquisition start in the file, written as Dec 30, 1899");
    lost << spectrum.notes;
    if (losses)
        *losses << lost;
    return header;
}

void AnsWriter::writeFile(const QString &path, const Spectrum &spectrum)
{
    writeFile(path, headerOf(spectrum), spectrum.counts);
}

QByteArray AnsWriter::toBytes(const AnsHeader &header, std::span<const std::int32_t> channels)
{
    if (channels.size() > std::size_t(kMaxChannels))
        channels = channels.first(std::size_t(kMaxChannels));
    const QByteArray head = header.toBytes();
    QByteArray bytes(AnsHeader::kSize + qsizetype(4 * channels.size()), Qt::Uninitialized);
    std::memcpy(bytes.data(), head.constData(), std::size_t(AnsHeader::kSize));
    uchar *out = reinterpret_cast<uchar *>(bytes.data()) + AnsHeader::kSize;
    for (std::int32_t value : channels) {
        qToLittleEndian<std::int32_t>(value, out);
        out += 4;
    }
    return bytes;
}

void AnsWriter::writeFile(const QString &path, const AnsHeader &header,
                          std::span<const std::int32_t> channels)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        throw lumen::Failure(
            QStringLiteral("Could not write file: ") + path +
            (path.isEmpty() ? QStringLiteral("(no name)") : QStringLiteral(" (is a folder)")));
    // Written beside the old file and renamed over it: a failed or killed
    // write leaves the old spectrum, never one cut short.
    lumen::safefile::replace(path, toBytes(header, channels));
}

} // namespace lumen
