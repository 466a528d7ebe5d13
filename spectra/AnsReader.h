#pragma once

#include "spectra/AnsHeader.h"
#include "spectra/Spectrum.h"

#include <QByteArrayView>
#include <cstdint>
#include <vector>

namespace lumen {

/** Reads back an ANS spectrum file image: the header's fields and the channel counts. */
class AnsReader
{
public:
    struct Spectrum
    {
        AnsHeader header;
        std::vector<std::int32_t> channels;
    };

    /**
     * Channels are the whole 4-byte values after the header (a trailing
     * partial value is ignored). Throws lumen::Failure when the header is short.
     */
    static Spectrum read(QByteArrayView bytes);

    /**
     * The file as a spectrum value: the ID as the one description, times,
     * start and sample date (local; absent when 0), the four coefficients
     * (none when all are 0), the sample size and unit. Throws as read().
     */
    static lumen::Spectrum spectrumOf(QByteArrayView bytes);
};

} // namespace lumen
