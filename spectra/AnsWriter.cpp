#include "spectra/AnsWriter.h"

#include "common/core/Failure.h"
#include "common/core/SafeFile.h"

#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace lumen {

QByteArray AnsWriter::toBytes(const AnsHeader &header, std::span<const std::int32_t> channels)
{
    if (channels.size() > std::size_t(kMaxChannels))
        channels = channels.first(std::size_t(kMaxChannels));
    const QByteArray head = header.toBytes();
    QByteArray bytes(AnsHeader::kSize + qsizetype(4 * channels.size()), Qt::Uninitialized);
    std::memcpy(bytes.data(), head.constData(), std::size_t(AnsHeader::kSize));
    uchar *out = reinterpret_cast<uchar *>(bytes.data()) + AnsHeader::kSize;
    for (std::int32_t value : channels) {
        qToLittleEndian<std::int32_t>(value, out);
        out += 4;
    }
    return bytes;
}

void AnsWriter::writeFile(const QString &path, const AnsHeader &header,
                          std::span<const std::int32_t> channels)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        throw lumen::Failure(
            QStringLiteral("Could not write file: ") + path +
            (path.isEmpty() ? QStringLiteral("(no name)") : QStringLiteral(" (is a folder)")));
    // Written beside the old file and renamed over it: a failed or killed
    // write leaves the old spectrum, never one cut short.
    lumen::safefile::replace(path, toBytes(header, channels));
}

} // namespace lumen
