// Any bytes as an N42 file: whatever the reader loads, our N42 writer must
// write so that the reader finds every value again, and our CSV table must
// read back with the same counts.
#include "spectra/CsvReader.h"
#include "spectra/CsvWriter.h"
#include "spectra/N42Reader.h"
#include "spectra/N42Writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumen::IncomingSpectrum in = lumen::N42Reader::read(bytes, QStringLiteral("fuzz.n42"));
    if (!in.loaded)
        return 0;
    const lumen::SpectrumImage image = lumen::N42Writer::image(in.spectrum);
    const lumen::IncomingSpectrum back = lumen::N42Reader::read(image.bytes, QStringLiteral("out"));
    const lumen::Spectrum &meant = image.carried;
    const lumen::Spectrum &got = back.spectrum;
    if (!back.loaded || got.counts != meant.counts || got.liveSeconds != meant.liveSeconds ||
        got.realSeconds != meant.realSeconds || got.start != meant.start ||
        got.coefficients != meant.coefficients || got.deviationPairs != meant.deviationPairs)
        std::abort();
    if (lumen::CsvReader::read(lumen::CsvWriter::image(in.spectrum).bytes).counts !=
        in.spectrum.counts)
        std::abort();
    return 0;
}
