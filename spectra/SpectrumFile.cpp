#include "spectra/SpectrumFile.h"

#include "common/core/Failure.h"
#include "common/core/OutsideFile.h"

#include <QFileInfo>

namespace lumen {

QByteArray SpectrumFile::load(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        throw lumen::Failure(QStringLiteral("Could not find file: ") + path);
    return lumen::outsidefile::read(path, lumen::outsidefile::kSpectrumCap);
}

IncomingSpectrum SpectrumFile::readWith(const QString &path,
                                        const std::function<IncomingSpectrum(QByteArrayView)> &read)
{
    QByteArray bytes;
    try {
        bytes = load(path);
    } catch (const lumen::Failure &failure) {
        IncomingSpectrum refused;
        refused.messages << failure.description();
        return refused;
    }
    return read(bytes);
}

} // namespace lumen
