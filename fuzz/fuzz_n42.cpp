// Any bytes as an N42 file: the reader must give its message or a spectrum,
// never read outside the buffer, and what it loads must convert
// and read back with the same counts.
#include "fuzz/ReadSpectrumCheck.h"
#include "spectra/N42Reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumen::IncomingSpectrum r = lumen::N42Reader::read(bytes, QStringLiteral("fuzz.n42"));
    if (r.loaded == !r.messages.isEmpty())
        std::abort(); // loaded without a refusal, or refused with a reason
    lumen::fuzz::checkLoadedSpectrum(r);
    return 0;
}
