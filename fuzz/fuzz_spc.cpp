// Any bytes as an SPC file: the reader must give its message or a spectrum,
// never read outside the buffer, and what it loads must convert.
#include "spectra/AnsWriter.h"
#include "spectra/BoxNames.h"
#include "spectra/SpcReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static lumen::ChannelStore store;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumen::IncomingSpectrum r =
        lumen::SpcReader::read(bytes, QStringLiteral("fuzz.spc"), store);
    if (!r.loaded && r.messages.isEmpty())
        std::abort(); // a file not loaded must say why
    if (r.loaded) {
        const int n = r.boxes.value(lumen::box::NumChan).toInt();
        const QByteArray ans = lumen::AnsWriter::toBytes(lumen::AnsHeader(), store.first(n));
        if (ans.size() < lumen::AnsHeader::kSize)
            std::abort();
    }
    return 0;
}
