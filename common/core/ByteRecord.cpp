#include "common/core/ByteRecord.h"

#include "common/core/Cp1252.h"
#include "common/core/Failure.h"

#include <QtEndian>
#include <cstring>

namespace lumen {

ByteRecordWriter::ByteRecordWriter(int size) : m_bytes(size, '\0') {}

void ByteRecordWriter::check(int offset, int width) const
{
    if (offset < 0 || width < 0 || offset + width > m_bytes.size())
        throw Failure(QStringLiteral("Field at offset %1 (width %2) lies outside a %3-byte record")
                          .arg(offset)
                          .arg(width)
                          .arg(m_bytes.size()));
}

void ByteRecordWriter::putInt16(int offset, std::int16_t value)
{
    check(offset, 2);
    qToLittleEndian<qint16>(value, m_bytes.data() + offset);
}

void ByteRecordWriter::putUInt16(int offset, std::uint16_t value)
{
    check(offset, 2);
    qToLittleEndian<quint16>(value, m_bytes.data() + offset);
}

void ByteRecordWriter::putInt32(int offset, std::int32_t value)
{
    check(offset, 4);
    qToLittleEndian<qint32>(value, m_bytes.data() + offset);
}

void ByteRecordWriter::putFloat(int offset, float value)
{
    check(offset, 4);
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    qToLittleEndian<quint32>(bits, m_bytes.data() + offset);
}

void ByteRecordWriter::putDouble(int offset, double value)
{
    check(offset, 8);
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    qToLittleEndian<quint64>(bits, m_bytes.data() + offset);
}

void ByteRecordWriter::putByte(int offset, std::uint8_t value)
{
    check(offset, 1);
    m_bytes[offset] = char(value);
}

void ByteRecordWriter::putText(int offset, int width, QStringView text)
{
    check(offset, width);
    QByteArray bytes = toCp1252(text.left(width));
    bytes.append(QByteArray(width - bytes.size(), ' '));
    std::memcpy(m_bytes.data() + offset, bytes.constData(), size_t(width));
}

void ByteRecordWriter::putBytes(int offset, QByteArrayView bytes)
{
    check(offset, int(bytes.size()));
    if (bytes.isEmpty())
        return; // an empty view may hold no pointer at all, and memcpy must not be given none
    std::memcpy(m_bytes.data() + offset, bytes.data(), size_t(bytes.size()));
}

bool ByteRecordReader::has(int offset, int width) const
{
    return offset >= 0 && width >= 0 && qint64(offset) + width <= m_bytes.size();
}

void ByteRecordReader::check(int offset, int width) const
{
    if (!has(offset, width))
        throw Failure(QStringLiteral("Read of %1 bytes at offset %2 is past the end of %3 bytes")
                          .arg(width)
                          .arg(offset)
                          .arg(m_bytes.size()));
}

std::int16_t ByteRecordReader::int16At(int offset) const
{
    check(offset, 2);
    return qFromLittleEndian<qint16>(m_bytes.data() + offset);
}

std::uint16_t ByteRecordReader::uint16At(int offset) const
{
    check(offset, 2);
    return qFromLittleEndian<quint16>(m_bytes.data() + offset);
}

std::int32_t ByteRecordReader::int32At(int offset) const
{
    check(offset, 4);
    return qFromLittleEndian<qint32>(m_bytes.data() + offset);
}

std::uint32_t ByteRecordReader::uint32At(int offset) const
{
    check(offset, 4);
    return qFromLittleEndian<quint32>(m_bytes.data() + offset);
}

float ByteRecordReader::floatAt(int offset) const
{
    const quint32 bits = uint32At(offset);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

double ByteRecordReader::doubleAt(int offset) const
{
    check(offset, 8);
    const quint64 bits = qFromLittleEndian<quint64>(m_bytes.data() + offset);
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

std::uint8_t ByteRecordReader::byteAt(int offset) const
{
    check(offset, 1);
    return std::uint8_t(m_bytes[offset]);
}

QString ByteRecordReader::textAt(int offset, int width) const
{
    return fromCp1252(bytesAt(offset, width));
}

QByteArrayView ByteRecordReader::bytesAt(int offset, int width) const
{
    check(offset, width);
    return m_bytes.sliced(offset, width);
}

} // namespace lumen
