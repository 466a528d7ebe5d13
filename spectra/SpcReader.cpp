#include "spectra/SpcReader.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "spectra/ChannelStore.h"
#include "spectra/SpectrumFile.h"
#include "spectra/SpectrumKind.h"
#include "spectra/SpectrumText.h"

#include <cmath>

namespace lumen {

namespace {
constexpr int kRecordSize = SpcReader::kRecordSize;
constexpr int kPumpEvery = 1024; // channels between two event pumps
constexpr int kIntegerData = 1;
constexpr int kRealData = 5;

// Record `number` (from 1) as a full 128-byte record. A record that begins
// past the end of the file means the first record is not one of this kind
// (other programs write .spc files of their own); one that the end of the
// file cuts short is completed with zeros.
QByteArray record(QByteArrayView bytes, int number, const char *what)
{
    const qint64 start = qint64(number - 1) * kRecordSize;
    if (start < 0 || start >= bytes.size())
        throw lumen::Failure(QStringLiteral("not an SPC spectrum of this kind (its first record "
                                            "names a %1 record %2, beyond the end of the file)")
                                 .arg(QLatin1String(what))
                                 .arg(number));
    QByteArray rec =
        bytes.sliced(start, std::min<qint64>(kRecordSize, bytes.size() - start)).toByteArray();
    rec.append(kRecordSize - rec.size(), '\0');
    return rec;
}

QString text(const lumen::ByteRecordReader &rec, int at, int width)
{
    return lumen::trimBlanks(IncomingSpectrum::boxText(rec.bytesAt(at, width)));
}

// A first record of nothing but printable characters and line ends: a text
// file (a report, a listing) under a spectrum's name. A binary SPC record 1
// always holds zero bytes in its 16-bit fields.
bool looksLikeText(QByteArrayView rec1)
{
    for (char c : rec1) {
        const auto u = uchar(c);
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n')
            return false;
    }
    return true;
}

// Integer part towards minus infinity; a value that does not fit 32 bits is refused.
std::int32_t floorToInt32(float value, int channel)
{
    const double whole = std::floor(double(value));
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0))
        throw lumen::Failure(QStringLiteral("the real count %1 at channel %2 is beyond 32 bits")
                                 .arg(lumen::shortSingleText(value))
                                 .arg(channel));
    return std::int32_t(whole);
}

// The numbers of the records record 1 names, and its main parameters.
struct RecordOne
{
    int inftyp = 0;
    int dataType = 0;
    int acquisitionRecord = 0;
    int descriptionRecord = 0;
    int sampleRecord = 0;
    int calibrationRecord = 0;
    int dataRecord = 0;
    int channels = 0;
    float realTime = 0.0f;
    float liveTime = 0.0f;
};

RecordOne recordOne(QByteArrayView bytes)
{
    const lumen::ByteRecordReader rec1(bytes.first(kRecordSize));
    RecordOne r;
    r.inftyp = rec1.int16At(0);
    r.dataType = rec1.int16At(2);
    r.acquisitionRecord = rec1.int16At(8);
    r.descriptionRecord = rec1.int16At(10);
    r.sampleRecord = rec1.int16At(16);
    r.calibrationRecord = rec1.int16At(34);
    r.dataRecord = rec1.int16At(60);
    r.channels = rec1.int16At(64);
    r.realTime = rec1.floatAt(90);
    r.liveTime = rec1.floatAt(94);
    return r;
}

// The description, acquisition, sample and calibration records; a record
// not named (number 0 or less) leaves its fields empty.
void readNamedRecords(QByteArrayView bytes, const RecordOne &one, IncomingSpectrum &result)
{
    Spectrum &spectrum = result.spectrum;
    if (one.descriptionRecord > 0) {
        const QByteArray rec = record(bytes, one.descriptionRecord, "description");
        const lumen::ByteRecordReader r(rec);
        spectrum.descriptions = {text(r, 0, 64), text(r, 64, 64)};
    }
    if (one.acquisitionRecord > 0) {
        const QByteArray rec = record(bytes, one.acquisitionRecord, "acquisition");
        const lumen::ByteRecordReader r(rec);
        spectrum.start = spectrumtext::momentOf(text(r, 16, 12), text(r, 28, 10),
                                                "acquisition start", result.warnings);
    }
    if (one.sampleRecord > 0) {
        const QByteArray rec = record(bytes, one.sampleRecord, "sample");
        const lumen::ByteRecordReader r(rec);
        spectrum.sampleSize = spectrumtext::decimalOf(r.floatAt(70));
        spectrum.sampleUnit = text(r, 94, 14);
        spectrum.sampleTaken = spectrumtext::momentOf(text(r, 108, 10), text(r, 118, 8),
                                                      "sample date", result.warnings);
    }
    if (one.calibrationRecord > 0) {
        const QByteArray rec = record(bytes, one.calibrationRecord, "calibration");
        const lumen::ByteRecordReader r(rec);
        using spectrumtext::decimalOf;
        spectrum.coefficients = {decimalOf(r.floatAt(20)), decimalOf(r.floatAt(24)),
                                 decimalOf(r.floatAt(28))};
    }
}

// The counts from the data record on: integers as they stand, reals floored
// value by value, any other type as zeros. Returns how many values the
// bytes held whole.
int readCounts(QByteArrayView bytes, const RecordOne &one, std::vector<std::int32_t> &counts,
               const std::function<void()> &pump)
{
    // The data position is a 16-bit byte offset in the format, so the first
    // data record must lie within records 1 to 256.
    if (one.dataRecord < 1 || one.dataRecord > 256)
        throw lumen::Failure(
            QStringLiteral("the data record %1 is outside records 1 to 256").arg(one.dataRecord));
    const qsizetype at = qsizetype(one.dataRecord - 1) * kRecordSize;
    if (one.dataType == kIntegerData)
        return ChannelStore::loadInt32(bytes, at, one.channels, counts, pump);
    const int n = std::clamp(one.channels, 0, ChannelStore::kCapacity);
    const lumen::ByteRecordReader data(bytes);
    counts.assign(std::size_t(n), 0);
    int whole = 0;
    for (int i = 0; i < n; ++i) {
        if (pump && i % kPumpEvery == 0)
            pump();
        const qsizetype from = at + 4 * qsizetype(i);
        if (one.dataType == kRealData && from + 4 <= bytes.size()) {
            counts[std::size_t(i)] = floorToInt32(data.floatAt(int(from)), i);
            ++whole;
        }
    }
    return whole;
}

// The kind of counts and the doubts about record 1 that still let the file be read.
void judgeRecordOne(const RecordOne &one, int whole, const QString &path, IncomingSpectrum &result)
{
    Spectrum &spectrum = result.spectrum;
    if ((one.dataType == kIntegerData || one.dataType == kRealData) && whole < one.channels)
        result.warnings << QStringLiteral("the data holds %1 of the %2 channels declared")
                               .arg(whole)
                               .arg(one.channels);
    if (one.inftyp != 1) {
        result.inform(QStringLiteral("<SpcRec1.inftyp=%1 > not = 1 : ").arg(one.inftyp) + path);
        result.warnings
            << QStringLiteral("the first record's information type is %1, not 1").arg(one.inftyp);
    }
    if (one.dataType != kIntegerData) {
        spectrum.countKind = one.dataType == kRealData
                                 ? QStringLiteral("Real")
                                 : QStringLiteral("Unknown %1").arg(one.dataType);
        spectrum.countKindKnown = false;
        if (one.dataType != kRealData)
            result.warnings
                << QStringLiteral("unknown data type %1, no counts read").arg(one.dataType);
    }
    if (one.channels < 256)
        result.inform(QStringLiteral("<SpcRec1.spcchn> Less than 256 channes reported : ") + path);
}
} // namespace

IncomingSpectrum SpcReader::readFile(const QString &path, const std::function<void()> &pump)
{
    return SpectrumFile::readWith(path,
                                  [&](QByteArrayView bytes) { return read(bytes, path, pump); });
}

IncomingSpectrum SpcReader::read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
    result.spectrum.sourceFormat = QStringLiteral("SPC");
    const qsizetype size = bytes.size();
    if (size <= kRecordSize) {
        result.messages << (size == 0 ? QStringLiteral("Could not find file: ")
                                      : QStringLiteral("File size not large enough: ")) +
                               path;
        return result;
    }
    if (looksLikeText(bytes.first(kRecordSize))) {
        result.messages << path + QStringLiteral(" is a text file, not a binary SPC spectrum") +
                               spectrumkind::hintBeyond(bytes, QStringLiteral("SPC"));
        return result;
    }
    try {
        const RecordOne one = recordOne(bytes);
        result.spectrum.realSeconds = spectrumtext::decimalOf(one.realTime);
        result.spectrum.liveSeconds = spectrumtext::decimalOf(one.liveTime);
        readNamedRecords(bytes, one, result);
        if (one.channels > ChannelStore::kCapacity) {
            result.inform(QStringLiteral("<SpcRec1.spcchn> Spectra size greater than 16384..."));
            throw lumen::Failure(
                QStringLiteral("record 1 declares %1 channels, more than 16384").arg(one.channels));
        }
        if (one.channels < 0)
            throw lumen::Failure(QStringLiteral("record 1 declares %1 channels").arg(one.channels));
        const int whole = readCounts(bytes, one, result.spectrum.counts, pump);
        judgeRecordOne(one, whole, path, result);
        result.loaded = true;
    } catch (const lumen::Failure &failure) {
        result.messages << QStringLiteral("Error reading ") + path + QStringLiteral(": ") +
                               failure.description() +
                               spectrumkind::hintBeyond(bytes, QStringLiteral("SPC"));
    }
    return result;
}

} // namespace lumen
