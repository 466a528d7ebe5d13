#include "spectra/AnsWriter.h"

#include "common/core/Failure.h"

#include <QFile>
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
    const QByteArray bytes = toBytes(header, channels);
    const QString failure = QStringLiteral("Could not write file: ") + path;
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir())
        throw lumen::Failure(failure);
    // Replaced, never appended to: the old file goes first.
    if ((info.exists() || info.isSymLink()) && !QFile::remove(path))
        throw lumen::Failure(failure);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size())
        return;
    if (file.isOpen()) {
        file.close();
        file.remove(); // a file cut short would pass for a spectrum with fewer counts
    }
    throw lumen::Failure(failure);
}

} // namespace lumen
