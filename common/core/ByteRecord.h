#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace lumen {

/**
 * A fixed-layout binary record built byte by byte at explicit offsets,
 * little-endian, as the file formats lay them out. Writing outside the
 * record's size is a programming error and throws Failure.
 */
class ByteRecordWriter
{
public:
    /** A record of `size` zero bytes. */
    explicit ByteRecordWriter(int size);

    void putInt16(int offset, std::int16_t value);
    void putUInt16(int offset, std::uint16_t value);
    void putInt32(int offset, std::int32_t value);
    void putFloat(int offset, float value);
    void putDouble(int offset, double value);
    void putByte(int offset, std::uint8_t value);
    /** Text in Windows-1252 at a fixed width, blank-padded or cut; no terminator. */
    void putText(int offset, int width, QStringView text);
    /** Raw bytes at an offset. */
    void putBytes(int offset, QByteArrayView bytes);

    const QByteArray &bytes() const { return m_bytes; }
    int size() const { return int(m_bytes.size()); }

private:
    void check(int offset, int width) const;
    QByteArray m_bytes;
};

/**
 * Reads fields of a fixed-layout record from a byte buffer. Every read is
 * checked against the buffer's size: a read past the end throws Failure
 * (readers catch it and report the file as too short).
 */
class ByteRecordReader
{
public:
    explicit ByteRecordReader(QByteArrayView bytes) : m_bytes(bytes) {}

    std::int16_t int16At(int offset) const;
    std::uint16_t uint16At(int offset) const;
    std::int32_t int32At(int offset) const;
    std::uint32_t uint32At(int offset) const;
    float floatAt(int offset) const;
    double doubleAt(int offset) const;
    std::uint8_t byteAt(int offset) const;
    /** `width` bytes as Windows-1252 text, kept at full width (no trimming). */
    QString textAt(int offset, int width) const;
    QByteArrayView bytesAt(int offset, int width) const;

    bool has(int offset, int width) const;
    int size() const { return int(m_bytes.size()); }

private:
    void check(int offset, int width) const;
    QByteArrayView m_bytes;
};

} // namespace lumen
