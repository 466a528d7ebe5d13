// Any bytes as an SPC file: the reader must give its message or a spectrum,
// never read outside the buffer, and what it loads must convert
// and read back with the same counts.
#include "fuzz/ReadSpectrumCheck.h"
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
    lumen::fuzz::checkLoadedSpectrum(r);
    return 0;
}
