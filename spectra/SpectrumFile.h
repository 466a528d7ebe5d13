#pragma once

#include "spectra/IncomingSpectrum.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace lumen {

/** Loads a stored spectrum file's bytes for the readers. */
class SpectrumFile
{
public:
    /**
     * The whole file, read as an outside file: a regular file of at most
     * outsidefile::kSpectrumCap bytes. Throws Failure("Could not find file: "
     * + path) when there is nothing at the path, and the outside reader's
     * refusal (a device, a FIFO, a folder, a file too large, a read error)
     * otherwise. Never creates, blocks on or removes a file.
     */
    static QByteArray load(const QString &path);

    /** load(), then `read` of the bytes; a refusal is the result's only message. */
    static IncomingSpectrum readWith(const QString &path,
                                     const std::function<IncomingSpectrum(QByteArrayView)> &read);
};

} // namespace lumen
