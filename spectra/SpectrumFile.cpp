#include "spectra/SpectrumFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace lumen {

std::optional<QByteArray> SpectrumFile::load(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 wanted = std::min(file.size(), kMaxBytes);
    QByteArray bytes(qsizetype(wanted), Qt::Uninitialized);
    const qint64 got = wanted > 0 ? file.read(bytes.data(), wanted) : 0;
    if (got < 0)
        return std::nullopt;
    bytes.truncate(qsizetype(got));
    return bytes;
}

} // namespace lumen
