#pragma once

#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lumen {

/**
 * Reads a CHN file (32-byte header, n signed 32-bit channel counts, then a
 * trailer of up to 512 bytes) into a spectrum value. Every read is checked
 * against the bytes there are.
 */
class ChnReader
{
public:
    /** `pump` (may be empty) is called now and then while channels are read. */
    static IncomingSpectrum readFile(const QString &path, const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump = {});
};

} // namespace lumen
