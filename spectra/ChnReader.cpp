#include "spectra/ChnReader.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "spectra/ChannelStore.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumKind.h"
#include "spectra/SpectrumText.h"

namespace lumen {

namespace {
constexpr int kHeaderSize = 32;
constexpr int kTrailerSize = 512;
// Trailer types that carry an energy calibration (16-bit at trailer offset 0).
constexpr int kLinearCalibration = -101;
constexpr int kQuadraticCalibration = -102;

// The date box: DD-MMM-YY, or DD-MMM-YYYY when the character after the
// two-digit year names the century ('1' 20xx, '0' 19xx).
QString dateBox(const QString &stored)
{
    const QString year = lumen::midText(stored, 6, 2);
    const QString century = lumen::midText(stored, 8, 1);
    QString shown = year;
    if ((century == u"1" || century == u"0") && year.size() == 2 && year[0].isDigit() &&
        year[1].isDigit())
        shown = (century == u"1" ? QStringLiteral("20") : QStringLiteral("19")) + year;
    return lumen::midText(stored, 1, 2) + u'-' + lumen::midText(stored, 3, 3) + u'-' + shown;
}

// The time box: HH:MM, with :SS when the header's two seconds digits are digits.
QString timeBox(const QString &stored, const QString &secondsText)
{
    QString shown = lumen::midText(stored, 1, 2) + u':' + lumen::midText(stored, 3, 2);
    if (secondsText.size() == 2 && secondsText[0].isDigit() && secondsText[1].isDigit())
        shown += u':' + secondsText;
    return shown;
}

double seconds(std::int32_t ticks20ms)
{
    return double(ticks20ms) / 50.0;
}

// One description of the trailer: length byte at `at`, up to 63 characters after it.
QString description(const lumen::ByteRecordReader &trailer, int at)
{
    if (!trailer.has(at, 1))
        return QString();
    const int available = trailer.size() - (at + 1);
    const int length = std::min({int(trailer.byteAt(at)), 63, available});
    if (length <= 0)
        return QString();
    return lumen::trimBlanks(IncomingSpectrum::boxText(trailer.bytesAt(at + 1, length)));
}

void readTrailer(QByteArrayView bytes, Spectrum &spectrum)
{
    const lumen::ByteRecordReader trailer(
        bytes.first(std::min<qsizetype>(bytes.size(), kTrailerSize)));
    spectrum.descriptions = {description(trailer, 256), description(trailer, 320)};
    if (!trailer.has(0, 2))
        return;
    const int type = trailer.int16At(0);
    if ((type == kLinearCalibration || type == kQuadraticCalibration) && trailer.has(4, 8)) {
        using spectrumtext::decimalOf;
        spectrum.coefficients = {decimalOf(trailer.floatAt(4)), decimalOf(trailer.floatAt(8))};
        if (type == kQuadraticCalibration && trailer.has(12, 4))
            spectrum.coefficients.push_back(decimalOf(trailer.floatAt(12)));
    }
}
} // namespace

IncomingSpectrum ChnReader::readFile(const QString &path, const std::function<void()> &pump)
{
    return SpectrumFile::readWith(path,
                                  [&](QByteArrayView bytes) { return read(bytes, path, pump); });
}

IncomingSpectrum ChnReader::read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
    Spectrum &spectrum = result.spectrum;
    spectrum.sourceFormat = QStringLiteral("CHN");
    const qsizetype size = bytes.size();
    if (size == 0) {
        result.messages << QStringLiteral("Could not find file: ") + path;
        return result;
    }
    if (size <= kHeaderSize) {
        result.messages << QStringLiteral("File size not large enough: ") + path;
        return result;
    }
    try {
        const lumen::ByteRecordReader header(bytes.first(kHeaderSize));
        const int fileType = header.int16At(0);
        const int n = header.int16At(30);
        const QString date = IncomingSpectrum::boxText(header.bytesAt(16, 8));
        const QString time = IncomingSpectrum::boxText(header.bytesAt(24, 4));
        const QString startSeconds = IncomingSpectrum::boxText(header.bytesAt(6, 2));

        spectrum.liveSeconds = seconds(header.int32At(12));
        // The real time sits beside the live time in the same ticks; without it
        // every converted spectrum would claim a real time of 0.
        spectrum.realSeconds = seconds(header.int32At(8));
        spectrum.start = spectrumtext::momentOf(dateBox(date), timeBox(time, startSeconds),
                                                "acquisition start", result.warnings);
        if (fileType != -1 && !spectrumkind::of(bytes).isEmpty())
            throw lumen::Failure(
                QStringLiteral("the header's file type is %1, not -1").arg(fileType));
        if (fileType != -1) {
            spectrum.countKind = QStringLiteral("Unknown [Type=%1]").arg(fileType);
            spectrum.countKindKnown = false;
            result.warnings << QStringLiteral("unknown file type %1").arg(fileType);
        }
        if (n < 0)
            throw lumen::Failure(QStringLiteral("the header declares %1 channels").arg(n));

        if (n < 256)
            result.inform(QStringLiteral("<SpcRec1.NumChan> Less than 256 channels reported : ") +
                          path);
        if (n > ChannelStore::kCapacity)
            result.inform(QStringLiteral("<SpcRec1.NumChan> Spectra size greater than 16384..."));

        if (n > ChannelStore::kCapacity)
            throw lumen::Failure(
                QStringLiteral("the header declares %1 channels, more than 16384").arg(n));
        // A value cut off by the end of the file counts as missing (0).
        const int whole = ChannelStore::loadInt32(bytes, kHeaderSize, n, spectrum.counts, pump);
        if (whole < n)
            result.warnings << QStringLiteral("the data holds %1 of the %2 channels declared")
                                   .arg(whole)
                                   .arg(n);
        const qsizetype at = std::min(qsizetype(kHeaderSize) + 4 * qsizetype(std::max(n, 0)), size);
        if (at < size)
            readTrailer(bytes.sliced(at), spectrum);
        result.loaded = true;
    } catch (const lumen::Failure &failure) {
        result.messages << QStringLiteral("Error reading ") + path + QStringLiteral(": ") +
                               failure.description() +
                               spectrumkind::hintBeyond(bytes, QStringLiteral("CHN"));
    }
    return result;
}

} // namespace lumen
