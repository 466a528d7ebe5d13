#pragma once

// Byte images of CHN and SPC files for the readers' tests, laid out at the
// formats' offsets independently of the readers.

#include "common/core/ByteRecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace lumen::test {

struct ChnImage
{
    std::int16_t fileType = -1;
    std::int32_t realTicks = 0;
    std::int32_t liveTicks = 0;
    QByteArray date = "22JUN011";                 // 8 characters
    QByteArray time = "1305";                     // 4 characters
    QByteArray seconds;                           ///< 2 characters at offset 6
    std::optional<std::int16_t> declaredChannels; ///< unset: the number of counts
    std::vector<std::int32_t> counts;
    bool trailer = true;
    int trailerBytes = 512;
    std::int16_t trailerType = -102;
    float c0 = 0.5f, c1 = 0.25f, c2 = 1e-6f;
    QByteArray desc1 = "Soil sample 7";
    QByteArray desc2 = "Field B";
    int len1 = -1; ///< -1: the description's length
    int len2 = -1;

    QByteArray bytes() const
    {
        const int n = int(counts.size());
        lumen::ByteRecordWriter h(32);
        h.putInt16(0, fileType);
        h.putInt32(8, realTicks);
        h.putInt32(12, liveTicks);
        h.putBytes(16, date.left(8));
        h.putBytes(24, time.left(4));
        h.putBytes(6, seconds.left(2));
        h.putInt16(30, declaredChannels.value_or(std::int16_t(n)));
        QByteArray out = h.bytes();
        lumen::ByteRecordWriter data(4 * n);
        for (int i = 0; i < n; ++i)
            data.putInt32(4 * i, counts[std::size_t(i)]);
        out += data.bytes();
        if (trailer) {
            lumen::ByteRecordWriter t(512);
            t.putInt16(0, trailerType);
            t.putFloat(4, c0);
            t.putFloat(8, c1);
            t.putFloat(12, c2);
            t.putByte(256, std::uint8_t(len1 < 0 ? desc1.size() : len1));
            t.putBytes(257, desc1.left(63));
            t.putByte(320, std::uint8_t(len2 < 0 ? desc2.size() : len2));
            t.putBytes(321, desc2.left(63));
            out += t.bytes().left(trailerBytes);
        }
        return out;
    }
};

struct SpcImage
{
    std::int16_t inftyp = 1;
    std::int16_t dataType = 1;
    std::int16_t acquisitionRecord = 2;
    std::int16_t descriptionRecord = 3;
    std::int16_t sampleRecord = 4;
    std::int16_t calibrationRecord = 5;
    std::int16_t dataRecord = 6;
    std::optional<std::int16_t> declaredChannels; ///< unset: the number of values
    float realTime = 310.5f;
    float liveTime = 300.0f;
    QByteArray acqDate = "17-SEP-121  ";
    QByteArray acqTime = "13:05:00  ";
    QByteArray id = "Water sample";
    QByteArray idLine2 = "Tank 3";
    float sampleSize = 1.5f;
    QByteArray units = "kg";
    QByteArray sampleDate = "01-SEP-121";
    QByteArray sampleTime = "08:30:00";
    float c0 = 0.5f, c1 = 0.25f, c2 = 1e-6f;
    std::vector<std::int32_t> counts; ///< data type 1
    std::vector<float> reals;         ///< data type 5

    QByteArray bytes() const
    {
        const int n = dataType == 5 ? int(reals.size()) : int(counts.size());
        lumen::ByteRecordWriter r1(128);
        r1.putInt16(0, inftyp);
        r1.putInt16(2, dataType);
        r1.putInt16(8, acquisitionRecord);
        r1.putInt16(10, descriptionRecord);
        r1.putInt16(16, sampleRecord);
        r1.putInt16(34, calibrationRecord);
        r1.putInt16(60, dataRecord);
        r1.putInt16(64, declaredChannels.value_or(std::int16_t(n)));
        r1.putFloat(90, realTime);
        r1.putFloat(94, liveTime);
        lumen::ByteRecordWriter acq(128);
        acq.putBytes(16, acqDate.left(12));
        acq.putBytes(28, acqTime.left(10));
        lumen::ByteRecordWriter desc(128);
        desc.putText(0, 64, QString::fromLatin1(id));
        desc.putText(64, 64, QString::fromLatin1(idLine2));
        lumen::ByteRecordWriter sam(128);
        sam.putFloat(70, sampleSize);
        sam.putText(94, 14, QString::fromLatin1(units));
        sam.putBytes(108, sampleDate.left(10));
        sam.putBytes(118, sampleTime.left(8));
        lumen::ByteRecordWriter cal(128);
        cal.putFloat(20, c0);
        cal.putFloat(24, c1);
        cal.putFloat(28, c2);
        QByteArray out = r1.bytes() + acq.bytes() + desc.bytes() + sam.bytes() + cal.bytes();
        lumen::ByteRecordWriter data(4 * n);
        for (int i = 0; i < n; ++i) {
            if (dataType == 5)
                data.putFloat(4 * i, reals[std::size_t(i)]);
            else
                data.putInt32(4 * i, counts[std::size_t(i)]);
        }
        const qsizetype at = qsizetype(dataRecord > 0 ? dataRecord - 1 : 5) * 128;
        if (out.size() < at)
            out.append(at - out.size(), '\0');
        out = out.left(at) + data.bytes();
        return out;
    }
};

/** Counts 0..n-1 with a recognisable shape (a peak and a slope). */
inline std::vector<std::int32_t> rampCounts(int n)
{
    std::vector<std::int32_t> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[std::size_t(i)] = (i * 37) % 1000 + (i == n / 2 ? 50000 : 0) - (i % 97 == 0 ? 5 : 0);
    return v;
}

} // namespace lumen::test
