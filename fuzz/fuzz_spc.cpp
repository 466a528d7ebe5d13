// Any bytes as an SPC file: the reader must give its message or a spectrum,
// never read outside the buffer, and what it loads must convert
// and read back with the same counts.
#include "spectra/AnsReader.h"
#include "spectra/AnsWriter.h"
#include "spectra/SpcReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumen::IncomingSpectrum r = lumen::SpcReader::read(bytes, QStringLiteral("fuzz.spc"));
    if (!r.loaded && r.messages.isEmpty())
        std::abort(); // a file not loaded must say why
    if (r.loaded) {
        // What was read converts, and the ANS file holds every count read.
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
    return 0;
}
