#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>

namespace lumen {

/**
 * The values of the 1536-byte ANS spectrum header that this suite fills.
 * Every other header byte is written as zero. The byte image is built at the
 * format's explicit offsets (little-endian, packed), never from a compiler
 * struct, so padding cannot creep in.
 */
class AnsHeader
{
public:
    static constexpr int kSize = 1536;
    static constexpr int kIdWidth = 72;
    static constexpr int kUnitsWidth = 4;

    std::int16_t headerType() const { return m_headerType; }
    void setHeaderType(std::int16_t type) { m_headerType = type; }

    /** Stored cut and blank-padded to 72 characters. */
    QString spectrumId() const { return m_spectrumId; }
    void setSpectrumId(const QString &id);

    /** Acquisition start as an OLE Automation date (days since 30 Dec 1899). */
    double mcaStart() const { return m_mcaStart; }
    void setMcaStart(double oleDate) { m_mcaStart = oleDate; }

    /** Seconds. */
    double realTime() const { return m_realTime; }
    void setRealTime(double seconds) { m_realTime = seconds; }
    /** Seconds. */
    double liveTime() const { return m_liveTime; }
    void setLiveTime(double seconds) { m_liveTime = seconds; }

    /**
     * Written as the number of channels (252), the group size (254) and,
     * minus one, the last channel number (1010).
     */
    std::int16_t groupSize() const { return m_groupSize; }
    void setGroupSize(std::int16_t size) { m_groupSize = size; }

    /** Energy calibration C(0)..C(3): keV = C0 + C1 ch + C2 ch^2 + C3 ch^3. */
    float coefficient(int index) const { return m_coefficients[std::size_t(index)]; }
    void setCoefficient(int index, float value) { m_coefficients[std::size_t(index)] = value; }
    /** -1 when C(1) > 0 (a calibration is present), else 0. */
    std::int16_t calibrationFlag() const { return m_coefficients[1] > 0.0f ? -1 : 0; }

    float sampleSize() const { return m_sampleSize; }
    void setSampleSize(float size) { m_sampleSize = size; }

    /** Stored cut and blank-padded to 4 characters. */
    QString sampleUnits() const { return m_sampleUnits; }
    void setSampleUnits(const QString &units);

    /** OLE Automation date. */
    double sampleDateTime() const { return m_sampleDateTime; }
    void setSampleDateTime(double oleDate) { m_sampleDateTime = oleDate; }

    /** The 1536 header bytes. */
    QByteArray toBytes() const;
    /** Reads the fields back from header bytes; throws lumen::Failure when fewer than 1536. */
    static AnsHeader fromBytes(QByteArrayView bytes);

private:
    std::int16_t m_headerType = 2;
    // Text fields stay unset (zero bytes in the file) until first filled.
    QString m_spectrumId;
    double m_mcaStart = 0.0;
    double m_realTime = 0.0;
    double m_liveTime = 0.0;
    std::int16_t m_groupSize = 0;
    std::array<float, 4> m_coefficients{0.0f, 0.0f, 0.0f, 0.0f};
    float m_sampleSize = 0.0f;
    QString m_sampleUnits;
    double m_sampleDateTime = 0.0;
};

} // namespace lumen
