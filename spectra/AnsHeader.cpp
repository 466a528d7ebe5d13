#include "spectra/AnsHeader.h"

#include "common/core/ByteRecord.h"
#include "common/core/Failure.h"
#include "common/core/FixedText.h"

namespace lumen {

namespace {
// Offsets in the header record, bytes from the start of the file.
constexpr int kTypeAt = 0;
constexpr int kIdAt = 2;
constexpr int kMcaStartAt = 80;
constexpr int kRealTimeAt = 96;
constexpr int kLiveTimeAt = 104;
constexpr int kChannelsAt = 252;
constexpr int kGroupSizeAt = 254;
constexpr int kCalFlagAt = 416;
constexpr int kCalOrderAt = 418;
constexpr int kCoefficientsAt = 424;
constexpr int kSampleSizeAt = 908;
constexpr int kUnitsAt = 916;
constexpr int kSampleDateAt = 920;
constexpr int kLastChannelAt = 1010;
} // namespace

void AnsHeader::setSpectrumId(const QString &id)
{
    m_spectrumId = lumen::fixedWidth(id, kIdWidth);
}

void AnsHeader::setSampleUnits(const QString &units)
{
    m_sampleUnits = lumen::fixedWidth(units, kUnitsWidth);
}

QByteArray AnsHeader::toBytes() const
{
    lumen::ByteRecordWriter w(kSize);
    w.putInt16(kTypeAt, m_headerType);
    if (!m_spectrumId.isNull())
        w.putText(kIdAt, kIdWidth, m_spectrumId);
    w.putDouble(kMcaStartAt, m_mcaStart);
    w.putDouble(kRealTimeAt, m_realTime);
    w.putDouble(kLiveTimeAt, m_liveTime);
    w.putInt16(kChannelsAt, m_groupSize);
    w.putInt16(kGroupSizeAt, m_groupSize);
    w.putInt16(kCalFlagAt, calibrationFlag());
    w.putInt16(kCalOrderAt, 1);
    for (int i = 0; i < 4; ++i)
        w.putFloat(kCoefficientsAt + 4 * i, m_coefficients[std::size_t(i)]);
    // Constants the host expects in every type-2 header.
    w.putFloat(472, 0.7f);
    w.putFloat(476, 0.001f);
    w.putInt16(624, 2);
    w.putInt16(834, 50);
    w.putInt16(836, 500);
    w.putInt16(838, 1);
    w.putFloat(844, 2.0f);
    w.putInt16(848, 32);
    w.putFloat(856, 0.5f);
    w.putFloat(kSampleSizeAt, m_sampleSize);
    if (!m_sampleUnits.isNull())
        w.putText(kUnitsAt, kUnitsWidth, m_sampleUnits);
    w.putDouble(kSampleDateAt, m_sampleDateTime);
    w.putInt16(kLastChannelAt, std::int16_t(m_groupSize - 1));
    return w.bytes();
}

AnsHeader AnsHeader::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() < kSize)
        throw lumen::Failure(QStringLiteral("ANS header shorter than 1536 bytes"));
    const lumen::ByteRecordReader r(bytes.first(kSize));
    AnsHeader h;
    h.m_headerType = r.int16At(kTypeAt);
    h.m_spectrumId = r.textAt(kIdAt, kIdWidth);
    h.m_mcaStart = r.doubleAt(kMcaStartAt);
    h.m_realTime = r.doubleAt(kRealTimeAt);
    h.m_liveTime = r.doubleAt(kLiveTimeAt);
    h.m_groupSize = r.int16At(kGroupSizeAt);
    for (int i = 0; i < 4; ++i)
        h.m_coefficients[std::size_t(i)] = r.floatAt(kCoefficientsAt + 4 * i);
    h.m_sampleSize = r.floatAt(kSampleSizeAt);
    h.m_sampleUnits = r.textAt(kUnitsAt, kUnitsWidth);
    h.m_sampleDateTime = r.doubleAt(kSampleDateAt);
    return h;
}

} // namespace lumen
