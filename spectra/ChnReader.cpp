#include "spectra/ChnReader.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"
#include "common/core/NumberText.h"
#include "spectra/BoxNames.h"
#include "spectra/SpectrumFile.h"

namespace lumen {

namespace {
constexpr int kHeaderSize = 32;
constexpr int kTrailerSize = 512;
constexpr int kPumpEvery = 1024; // channels between two event pumps
// Trailer types that carry an energy calibration (16-bit at trailer offset 0).
constexpr int kLinearCalibration = -101;
constexpr int kQuadraticCalibration = -102;

QString seconds(std::int32_t ticks20ms)
{
    return lumen::formatNumber(double(ticks20ms) / 50.0, u"#####0.00");
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

void readTrailer(QByteArrayView bytes, IncomingSpectrum &result)
{
    const lumen::ByteRecordReader trailer(
        bytes.first(std::min<qsizetype>(bytes.size(), kTrailerSize)));
    result.boxes[box::SpcID] = description(trailer, 256);
    result.boxes[box::SpcID_line2] = description(trailer, 320);
    if (!trailer.has(0, 2))
        return;
    const int type = trailer.int16At(0);
    if ((type == kLinearCalibration || type == kQuadraticCalibration) && trailer.has(4, 8)) {
        result.boxes[box::C0] = lumen::shortSingleText(trailer.floatAt(4));
        result.boxes[box::C1] = lumen::shortSingleText(trailer.floatAt(8));
        result.boxes[box::C2] = type == kQuadraticCalibration && trailer.has(12, 4)
                                    ? lumen::shortSingleText(trailer.floatAt(12))
                                    : QStringLiteral("0");
        result.boxes[box::C3] = QStringLiteral("0");
    }
}
} // namespace

IncomingSpectrum ChnReader::readFile(const QString &path, ChannelStore &store,
                                     const std::function<void()> &pump)
{
    const std::optional<QByteArray> bytes = SpectrumFile::load(path);
    return read(bytes ? QByteArrayView(*bytes) : QByteArrayView(), path, store, pump);
}

IncomingSpectrum ChnReader::read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 const std::function<void()> &pump)
{
    IncomingSpectrum result;
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

        result.boxes[box::NumChan] = QString::number(n);
        result.boxes[box::LiveTime] = seconds(header.int32At(12));
        // The real time sits beside the live time in the same ticks; without it
        // every converted spectrum would claim a real time of 0.
        result.boxes[box::RealTime] = seconds(header.int32At(8));
        result.boxes[box::AcqDate] = lumen::midText(date, 1, 2) + u'-' +
                                     lumen::midText(date, 3, 3) + u'-' + lumen::midText(date, 6, 2);
        result.boxes[box::AcqTime] = lumen::midText(time, 1, 2) + u':' + lumen::midText(time, 3, 2);
        if (fileType == -1) {
            result.boxes[box::fType] = QStringLiteral("Integer");
        } else {
            result.boxes[box::fType] = QStringLiteral("Unknown [Type=%1]").arg(fileType);
            result.typeOnRed = true;
        }

        if (n < 256)
            result.messages << QStringLiteral(
                                   "<SpcRec1.NumChan> Less than 256 channels reported : ") +
                                   path;
        if (n > ChannelStore::kCapacity)
            result.messages << QStringLiteral(
                "<SpcRec1.NumChan> Spectra size greater than 16384...");

        const lumen::ByteRecordReader data(bytes);
        qsizetype at = kHeaderSize;
        for (int i = 0; i < n; ++i) {
            if (i >= ChannelStore::kCapacity)
                throw lumen::Failure(QStringLiteral("channel index beyond the store"));
            if (pump && i % kPumpEvery == 0)
                pump();
            std::int32_t value = 0;
            if (at + 4 <= size)
                value = data.int32At(int(at));
            // A value cut off by the end of the file counts as missing.
            at = std::min(at + 4, size);
            store.set(i, value);
        }
        if (at < size)
            readTrailer(bytes.sliced(at), result);
        result.loaded = true;
    } catch (const lumen::Failure &) {
        result.messages << QStringLiteral("Error reading ") + path;
    }
    return result;
}

} // namespace lumen
