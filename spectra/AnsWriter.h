#pragma once

#include "spectra/AnsHeader.h"
#include "spectra/Spectrum.h"

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

    /**
     * The header that carries `spectrum`: the first two descriptions joined
     * by a blank and cut to 72 characters, live and real time (0 when absent
     * or not finite), the start and sample date in local time, C(0)..C(3),
     * the sample size and its unit cut to 4 characters, the channel count as
     * group size. What the header cannot carry (a third description, a cut
     * description or unit, a non-zero coefficient beyond C(3), a calibration
     * not in keV, the value's notes) is added to `losses` when given.
     */
    static AnsHeader headerOf(const Spectrum &spectrum, QStringList *losses = nullptr);

    /** writeFile() of headerOf(spectrum) and its counts. */
    static void writeFile(const QString &path, const Spectrum &spectrum);
};

} // namespace lumen
