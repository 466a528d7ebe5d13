#pragma once

#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lumen {

/**
 * Reads an SPC file (128-byte records numbered from 1; record 1 names the
 * others and holds the main parameters) into a spectrum value. Every read
 * is checked against the bytes there are.
 */
class SpcReader
{
public:
    /** `pump` (may be empty) is called now and then while channels are read. */
    static IncomingSpectrum readFile(const QString &path, const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path,
                                 const std::function<void()> &pump = {});

    /** A file this small holds no spectrum: not even record 1 and one value. */
    static constexpr int kRecordSize = 128;
};

} // namespace lumen
