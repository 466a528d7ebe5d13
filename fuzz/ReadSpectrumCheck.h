#pragma once

// What every spectrum reader's fuzz target asks of a file it loaded: the
// spectrum converts, and the ANS file written holds every count read.

#include "spectra/AnsReader.h"
#include "spectra/AnsWriter.h"
#include "spectra/IncomingSpectrum.h"

#include <cstdlib>

namespace lumen::fuzz {

inline void checkLoadedSpectrum(const lumen::IncomingSpectrum &r)
{
    if (!r.loaded)
        return;
    const int n = r.spectrum.channelCount();
    if (n < 0 || n > lumen::AnsWriter::kMaxChannels)
        std::abort();
    QStringList losses;
    const QByteArray ans = lumen::AnsWriter::toBytes(
        lumen::AnsWriter::headerOf(r.spectrum, &losses), r.spectrum.counts);
    if (ans.size() != lumen::AnsHeader::kSize + 4 * n ||
        lumen::AnsReader::spectrumOf(ans).counts != r.spectrum.counts)
        std::abort();
}

} // namespace lumen::fuzz
