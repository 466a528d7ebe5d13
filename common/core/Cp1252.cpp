#include "common/core/Cp1252.h"

#include <optional>

namespace lumen {
namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map
// to the same code point so that no byte is lost on a round trip.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == c)
            return char(0x80 + k);
    return std::nullopt;
}

} // namespace

QString fromCp1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray toCp1252(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = byteOf(text[i].unicode()).value_or('?');
    return out;
}

QString outsideCp1252(QStringView text)
{
    QString outside;
    for (const QChar c : text)
        if (!byteOf(c.unicode()) && !outside.contains(c))
            outside += c;
    return outside;
}

} // namespace lumen
