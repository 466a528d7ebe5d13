#include "transpec/core/ReadBack.h"

#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "common/core/SafeFile.h"
#include "spectra/AnsReader.h"
#include "spectra/CsvReader.h"
#include "spectra/EnergyCalibration.h"
#include "spectra/N42Reader.h"
#include "spectra/SpectrumFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace lumen::transpec::readback {

namespace {

constexpr int kAnsCoefficients = 4;

/** How closely a file of a format gives the value back. */
struct Precision
{
    double times = 0;        ///< relative
    double coefficients = 0; ///< relative
    qint64 startMs = 0;
};

// The ANS boxes show times with 15 digits and coefficients with 7 before
// they are stored, and the start to the second.
constexpr Precision kAnsPrecision{1e-13, 1e-6, 999};

bool near(double a, double b, double relative)
{
    if (a == b || (std::isnan(a) && std::isnan(b)))
        return true;
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

QString secondsText(const std::optional<double> &s)
{
    return s ? lumen::shortDoubleText(*s) + QStringLiteral(" s") : QStringLiteral("none");
}

QString startText(const std::optional<QDateTime> &t)
{
    return t ? t->toString(Qt::ISODateWithMs) : QStringLiteral("none");
}

QString coefficientsText(const std::vector<double> &c)
{
    QStringList words;
    for (const double v : c)
        words << lumen::shortDoubleText(v);
    return words.isEmpty() ? QStringLiteral("none") : words.join(u' ');
}

void compareTime(const char *what, const std::optional<double> &meant,
                 const std::optional<double> &read, double relative, QStringList &out)
{
    if (meant.has_value() == read.has_value() && (!meant || near(*meant, *read, relative)))
        return;
    out << QStringLiteral("the %1 reads back as %2, not %3")
               .arg(QLatin1String(what), secondsText(read), secondsText(meant));
}

QStringList compare(const Spectrum &meant, const Spectrum &read, const Precision &p)
{
    QStringList out;
    if (read.channelCount() != meant.channelCount())
        out << QStringLiteral("%1 channels read back, not %2")
                   .arg(read.channelCount())
                   .arg(meant.channelCount());
    const auto sum = [](const std::vector<std::int32_t> &c) {
        return std::accumulate(c.begin(), c.end(), qint64(0));
    };
    if (sum(read.counts) != sum(meant.counts))
        out << QStringLiteral("the channels sum to %1, not %2")
                   .arg(sum(read.counts))
                   .arg(sum(meant.counts));
    compareTime("live time", meant.liveSeconds, read.liveSeconds, p.times, out);
    compareTime("real time", meant.realSeconds, read.realSeconds, p.times, out);
    if (meant.start.has_value() != read.start.has_value() ||
        (meant.start && std::llabs(meant.start->msecsTo(*read.start)) > p.startMs))
        out << QStringLiteral("the start reads back as %1, not %2")
                   .arg(startText(read.start), startText(meant.start));
    const std::size_t n = std::max(meant.coefficients.size(), read.coefficients.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double a = i < meant.coefficients.size() ? meant.coefficients[i] : 0.0;
        const double b = i < read.coefficients.size() ? read.coefficients[i] : 0.0;
        if (!near(a, b, p.coefficients)) {
            out << QStringLiteral("the calibration reads back as %1, not %2")
                       .arg(coefficientsText(read.coefficients),
                            coefficientsText(meant.coefficients));
            break;
        }
    }
    const auto samePair = [&p](const auto &a, const auto &b) {
        return near(a.first, b.first, p.coefficients) && near(a.second, b.second, p.coefficients);
    };
    if (!std::equal(meant.deviationPairs.begin(), meant.deviationPairs.end(),
                    read.deviationPairs.begin(), read.deviationPairs.end(), samePair))
        out << QStringLiteral("%1 deviation pairs read back, not %2 as written")
                   .arg(read.deviationPairs.size())
                   .arg(meant.deviationPairs.size());
    return out;
}

Spectrum ansValue(QByteArrayView bytes)
{
    const AnsReader::Spectrum file = AnsReader::read(bytes);
    return ansValueOf(file.header, file.channels);
}

QStringList csvDifferences(QByteArrayView bytes, const Spectrum &meant)
{
    const CsvReader::Table table = CsvReader::read(bytes);
    Spectrum read;
    read.counts = table.counts;
    Spectrum counted; // the energies are compared below, channel by channel
    counted.counts = meant.counts;
    QStringList out = compare(counted, read, {});
    const bool calibrated = energycalibration::calibrates(meant.coefficients);
    if (calibrated != !table.energies.empty() ||
        (calibrated && table.energyUnit != meant.calibrationUnit)) {
        out << QStringLiteral("the energy column reads back as \"%1\", not \"%2\"")
                   .arg(table.energyUnit, calibrated ? meant.calibrationUnit : QString());
        return out;
    }
    for (std::size_t i = 0; i < table.energies.size(); ++i) {
        const double e = energycalibration::energyAt(meant.coefficients, double(i));
        if (table.energies[i] != e) {
            out << QStringLiteral("the energy of channel %1 reads back as %2, not %3")
                       .arg(i)
                       .arg(lumen::exactDoubleText(table.energies[i]), lumen::exactDoubleText(e));
            break;
        }
    }
    return out;
}

} // namespace

Spectrum ansValueOf(const AnsHeader &header, std::span<const std::int32_t> counts)
{
    Spectrum s;
    s.counts.assign(counts.begin(), counts.end());
    s.liveSeconds = header.liveTime();
    s.realSeconds = header.realTime();
    // An OLE date of 0 is what a header without a start holds.
    if (header.mcaStart() != 0)
        s.start = lumen::fromOleDate(header.mcaStart());
    for (int i = 0; i < kAnsCoefficients; ++i)
        s.coefficients.push_back(double(header.coefficient(i)));
    return s;
}

Spectrum ansCarried(const Spectrum &spectrum)
{
    Spectrum s;
    s.counts = spectrum.counts;
    const auto stored = [](const std::optional<double> &t) {
        return t && std::isfinite(*t) ? *t : 0.0;
    };
    s.liveSeconds = stored(spectrum.liveSeconds);
    s.realSeconds = stored(spectrum.realSeconds);
    s.start = spectrum.start;
    for (std::size_t i = 0; i < std::size_t(kAnsCoefficients); ++i)
        s.coefficients.push_back(
            i < spectrum.coefficients.size() ? double(float(spectrum.coefficients[i])) : 0.0);
    return s;
}

void writeChecked(OutputFormat format, const QString &path, const QByteArray &bytes,
                  const Spectrum &meant)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        throw lumen::Failure(
            QStringLiteral("Could not write file: ") + path +
            (path.isEmpty() ? QStringLiteral("(no name)") : QStringLiteral(" (is a folder)")));
    QStringList d = differences(format, bytes, meant);
    if (!d.isEmpty())
        throw lumen::Failure(path + QStringLiteral(": not written, it would read back wrong: ") +
                             d.join(QStringLiteral("; ")));
    lumen::safefile::replace(path, bytes);
    try {
        d = differences(format, SpectrumFile::load(path), meant);
    } catch (const lumen::Failure &f) {
        d = QStringList{f.description()};
    }
    if (!d.isEmpty()) {
        // A file that does not hold the spectrum must not pass for its conversion.
        QFile::remove(path);
        throw lumen::Failure(path + QStringLiteral(": removed, it read back wrong: ") +
                             d.join(QStringLiteral("; ")));
    }
}

QStringList differences(OutputFormat format, QByteArrayView bytes, const Spectrum &meant)
{
    try {
        switch (format) {
        case OutputFormat::Ans:
            return compare(meant, ansValue(bytes), kAnsPrecision);
        case OutputFormat::Csv:
            return csvDifferences(bytes, meant);
        case OutputFormat::N42:
            break;
        }
        const IncomingSpectrum read = N42Reader::read(bytes, QStringLiteral("the N42 file"));
        if (!read.loaded)
            return {read.messages.isEmpty() ? QStringLiteral("the N42 file reads as no spectrum")
                                            : read.messages.last()};
        return compare(meant, read.spectrum, {});
    } catch (const lumen::Failure &f) {
        return {f.description()};
    }
}

} // namespace lumen::transpec::readback
