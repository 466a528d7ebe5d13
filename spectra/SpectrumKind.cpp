#include "spectra/SpectrumKind.h"

#include "common/core/ByteRecord.h"
#include "spectra/ChannelStore.h"

namespace lumen::spectrumkind {

namespace {

constexpr qsizetype kChnHeader = 32;
constexpr qsizetype kSpcRecord = 128;

bool looksLikeChn(QByteArrayView bytes)
{
    if (bytes.size() <= kChnHeader)
        return false;
    const lumen::ByteRecordReader header(bytes.first(kChnHeader));
    const int channels = header.int16At(30);
    return header.int16At(0) == -1 && channels > 0 && channels <= ChannelStore::kCapacity;
}

bool looksLikeSpc(QByteArrayView bytes)
{
    if (bytes.size() <= kSpcRecord)
        return false;
    const lumen::ByteRecordReader rec1(bytes.first(kSpcRecord));
    const int dataRecord = rec1.int16At(60);
    return rec1.int16At(0) == 1 && (rec1.int16At(2) == 1 || rec1.int16At(2) == 5) &&
           dataRecord >= 1 && dataRecord <= 256;
}

// The first line that is not blank, after a UTF-8 byte-order mark.
QByteArrayView firstLine(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    bytes = bytes.first(std::min<qsizetype>(bytes.size(), 4096));
    qsizetype from = 0;
    while (from < bytes.size() && QByteArrayView(" \t\r\n").contains(bytes[from]))
        ++from;
    qsizetype to = from;
    while (to < bytes.size() && bytes[to] != '\n' && bytes[to] != '\r')
        ++to;
    return bytes.sliced(from, to - from);
}

bool looksLikeSpe(QByteArrayView bytes)
{
    const QByteArrayView line = firstLine(bytes).trimmed();
    return line.size() > 2 && line.startsWith('$') && line.endsWith(':');
}

bool looksLikeN42(QByteArrayView bytes)
{
    if (!firstLine(bytes).startsWith('<'))
        return false;
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 4096));
    return head.contains("N42InstrumentData") || head.contains("RadInstrumentData");
}

} // namespace

QString of(QByteArrayView bytes)
{
    if (looksLikeChn(bytes))
        return QStringLiteral("CHN");
    if (looksLikeSpc(bytes))
        return QStringLiteral("SPC");
    if (looksLikeSpe(bytes))
        return QStringLiteral("SPE");
    if (looksLikeN42(bytes))
        return QStringLiteral("N42");
    return QString();
}

QString looksLike(const QString &kind)
{
    // "a CHN", but "an SPC", "an SPE", "an N42" as they are spoken.
    return QStringLiteral("it looks like %1 %2 spectrum (named .%3, it is read)")
        .arg(kind.startsWith(u'C') ? QStringLiteral("a") : QStringLiteral("an"), kind,
             kind.toLower());
}

QString hintBeyond(QByteArrayView bytes, const QString &format)
{
    const QString kind = of(bytes);
    if (kind.isEmpty() || kind == format)
        return QString();
    return QStringLiteral("; ") + looksLike(kind);
}

} // namespace lumen::spectrumkind
