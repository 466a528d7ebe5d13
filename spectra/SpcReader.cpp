#include "spectra/SpcReader.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "spectra/BoxNames.h"
#include "spectra/SpectrumFile.h"

#include <QFileInfo>
#include <cmath>

namespace lumen {

namespace {
constexpr int kRecordSize = 128;
constexpr int kPumpEvery = 1024; // channels between two event pumps
constexpr int kIntegerData = 1;
constexpr int kRealData = 5;

// Record `number` (from 1) as a full 128-byte record. A record that begins
// past the end of the file means the header lies about it; one that the end
// of the file cuts short is completed with zeros.
QByteArray record(QByteArrayView bytes, int number)
{
    const qint64 start = qint64(number - 1) * kRecordSize;
    if (start < 0 || start >= bytes.size())
        throw lumen::Failure(QStringLiteral("record beyond the end of the file"));
    QByteArray rec =
        bytes.sliced(start, std::min<qint64>(kRecordSize, bytes.size() - start)).toByteArray();
    rec.append(kRecordSize - rec.size(), '\0');
    return rec;
}

QString text(const lumen::ByteRecordReader &rec, int at, int width)
{
    return IncomingSpectrum::boxText(rec.bytesAt(at, width));
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

// Integer part towards minus infinity; a value that does not fit 32 bits is a read error.
std::int32_t floorToInt32(float value)
{
    const double whole = std::floor(double(value));
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0))
        throw lumen::Failure(lumen::kOverflow);
    return std::int32_t(whole);
}
} // namespace

IncomingSpectrum SpcReader::readFile(const QString &path, ChannelStore &store, bool commandLineMode,
                                     const std::function<void()> &pump)
{
    IncomingSpectrum result = SpectrumFile::readWith(path, [&](QByteArrayView bytes) {
        return read(bytes, path, store, commandLineMode, pump);
    });
    // Started for a caller, a missing file goes unmentioned like a short one.
    if (commandLineMode && !QFileInfo::exists(path))
        result.messages.clear();
    return result;
}

IncomingSpectrum SpcReader::read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 bool commandLineMode, const std::function<void()> &pump)
{
    IncomingSpectrum result;
    const qsizetype size = bytes.size();
    if (size <= kRecordSize) {
        if (!commandLineMode)
            result.messages << (size == 0 ? QStringLiteral("Could not find file: ")
                                          : QStringLiteral("File size not large enough: ")) +
                                   path;
        return result;
    }
    if (looksLikeText(bytes.first(kRecordSize))) {
        result.messages << path + QStringLiteral(" is a text file, not a binary SPC spectrum");
        return result;
    }
    try {
        const lumen::ByteRecordReader rec1(bytes.first(kRecordSize));
        const int inftyp = rec1.int16At(0);
        const int dataType = rec1.int16At(2);
        const int acquisitionRecord = rec1.int16At(8);
        const int descriptionRecord = rec1.int16At(10);
        const int sampleRecord = rec1.int16At(16);
        const int calibrationRecord = rec1.int16At(34);
        const int dataRecord = rec1.int16At(60);
        const int spcchn = rec1.int16At(64);
        const float realTime = rec1.floatAt(90);
        const float liveTime = rec1.floatAt(94);

        // A record not read counts as all zero: empty texts and zero numbers.
        QString id, idLine2, acqDate, acqTime, units, sampleDate, sampleTime;
        float sampleSize = 0.0f;
        float c0 = 0.0f, c1 = 0.0f, c2 = 0.0f;
        if (descriptionRecord > 0) {
            const QByteArray bytesOf = record(bytes, descriptionRecord);
            const lumen::ByteRecordReader r(bytesOf);
            id = text(r, 0, 64);
            idLine2 = text(r, 64, 64);
        }
        if (acquisitionRecord > 0) {
            const QByteArray bytesOf = record(bytes, acquisitionRecord);
            const lumen::ByteRecordReader r(bytesOf);
            acqDate = text(r, 16, 12);
            acqTime = text(r, 28, 10);
        }
        if (sampleRecord > 0) {
            const QByteArray bytesOf = record(bytes, sampleRecord);
            const lumen::ByteRecordReader r(bytesOf);
            sampleSize = r.floatAt(70);
            units = text(r, 94, 14);
            sampleDate = text(r, 108, 10);
            sampleTime = text(r, 118, 8);
        }
        if (calibrationRecord > 0) {
            const QByteArray bytesOf = record(bytes, calibrationRecord);
            const lumen::ByteRecordReader r(bytesOf);
            c0 = r.floatAt(20);
            c1 = r.floatAt(24);
            c2 = r.floatAt(28);
        }

        if (spcchn > ChannelStore::kCapacity)
            result.messages << QStringLiteral(
                "<SpcRec1.spcchn> Spectra size greater than 16384...");

        // The data position is a 16-bit byte offset in the format, so the first
        // data record must lie within records 1 to 256.
        if (dataRecord < 1 || dataRecord > 256)
            throw lumen::Failure(QStringLiteral("data record out of range"));
        const qsizetype at = qsizetype(dataRecord - 1) * kRecordSize;
        int whole = 0;
        if (dataType == kIntegerData) {
            whole = store.loadInt32(bytes, at, spcchn, pump);
        } else {
            // Real data is floored value by value; any other type loads zeros.
            const int n = std::clamp(spcchn, 0, ChannelStore::kCapacity);
            const lumen::ByteRecordReader data(bytes);
            for (int i = 0; i < n; ++i) {
                if (pump && i % kPumpEvery == 0)
                    pump();
                std::int32_t value = 0;
                const qsizetype from = at + 4 * qsizetype(i);
                if (dataType == kRealData && from + 4 <= size) {
                    value = floorToInt32(data.floatAt(int(from)));
                    ++whole;
                }
                store.set(i, value);
            }
        }
        if (spcchn > ChannelStore::kCapacity)
            throw lumen::Failure(QStringLiteral("channel index beyond the store"));
        if ((dataType == kIntegerData || dataType == kRealData) && whole < spcchn)
            result.warnings << QStringLiteral("the data holds %1 of the %2 channels declared")
                                   .arg(whole)
                                   .arg(spcchn);

        if (inftyp != 1)
            result.messages << QStringLiteral("<SpcRec1.inftyp=%1 > not = 1 : ").arg(inftyp) + path;
        if (dataType == kIntegerData) {
            result.boxes[box::fType] = QStringLiteral("Integer");
        } else {
            result.boxes[box::fType] = dataType == kRealData
                                           ? QStringLiteral("Real")
                                           : QStringLiteral("Unknown %1").arg(dataType);
            result.typeOnRed = true;
            if (dataType != kRealData)
                result.warnings
                    << QStringLiteral("unknown data type %1, no counts read").arg(dataType);
        }
        if (spcchn < 256)
            result.messages << QStringLiteral(
                                   "<SpcRec1.spcchn> Less than 256 channes reported : ") +
                                   path;

        result.boxes[box::NumChan] = QString::number(spcchn);
        result.boxes[box::LiveTime] = lumen::shortSingleText(liveTime);
        result.boxes[box::RealTime] = lumen::shortSingleText(realTime);
        result.boxes[box::SizTxt] = lumen::shortSingleText(sampleSize);
        result.boxes[box::C0] = lumen::shortSingleText(c0);
        result.boxes[box::C1] = lumen::shortSingleText(c1);
        result.boxes[box::C2] = lumen::shortSingleText(c2);
        result.boxes[box::C3] = QStringLiteral("0");
        result.boxes[box::SpcID] = id;
        result.boxes[box::SpcID_line2] = idLine2;
        result.boxes[box::AcqDate] = acqDate;
        result.boxes[box::AcqTime] = acqTime;
        result.boxes[box::UnitsTxt] = units;
        result.boxes[box::SpcSamDate] = sampleDate;
        result.boxes[box::SpcSamTime] = sampleTime;
        result.loaded = true;
    } catch (const lumen::Failure &) {
        result.messages << QStringLiteral("Error reading ") + path;
    }
    return result;
}

} // namespace lumen
