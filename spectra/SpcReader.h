#pragma once

#include "spectra/ChannelStore.h"
#include "spectra/IncomingSpectrum.h"

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lumen {

/**
 * Reads an SPC file (128-byte records numbered from 1; record 1 names the
 * others and holds the main parameters) into the channel store and the
 * incoming and calibration boxes. Every read is checked against the bytes
 * there are.
 */
class SpcReader
{
public:
    /**
     * In command-line mode a missing or too small file gives no message.
     * `pump` (may be empty) is called now and then while channels are read.
     */
    static IncomingSpectrum readFile(const QString &path, ChannelStore &store,
                                     bool commandLineMode = false,
                                     const std::function<void()> &pump = {});
    /** `path` is only used in the messages. */
    static IncomingSpectrum read(QByteArrayView bytes, const QString &path, ChannelStore &store,
                                 bool commandLineMode = false,
                                 const std::function<void()> &pump = {});
};

} // namespace lumen
