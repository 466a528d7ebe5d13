#pragma once

#include "spectra/AnsHeader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <span>

namespace lumen {

/**
 * Writes ANS spectrum files: the 1536-byte header followed by one signed
 * 32-bit little-endian integer per channel, channel 0 first. Usable without
 * any window: header values and channel counts in, bytes or a file out.
 */
class AnsWriter
{
public:
    /** At most this many channels are written; further counts are ignored. */
    static constexpr int kMaxChannels = 16384;

    /** The whole file image: 1536 + 4 x min(channels, 16384) bytes. */
    static QByteArray toBytes(const AnsHeader &header, std::span<const std::int32_t> channels);

    /**
     * Replaces the file at `path` with the image, atomically: a write that
     * fails leaves the old file as it was and no partial file, and throws
     * lumen::Failure("Could not write file: " + path + " (" + reason + ")").
     */
    static void writeFile(const QString &path, const AnsHeader &header,
                          std::span<const std::int32_t> channels);
};

} // namespace lumen
