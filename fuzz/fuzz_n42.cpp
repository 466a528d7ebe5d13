// Any bytes as an N42 file: the reader must give its message or a spectrum,
// never read outside the buffer, and what it loads must convert.
#include "spectra/AnsWriter.h"
#include "spectra/BoxNames.h"
#include "spectra/N42Reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static lumen::ChannelStore store;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumen::IncomingSpectrum r =
        lumen::N42Reader::read(bytes, QStringLiteral("fuzz.n42"), store);
    if (r.loaded == !r.messages.isEmpty())
        std::abort(); // loaded without a refusal, or refused with a reason
    if (r.loaded) {
        const int n = r.boxes.value(lumen::box::NumChan).toInt();
        if (n < 0 || n > lumen::ChannelStore::kCapacity)
            std::abort();
        const QByteArray ans = lumen::AnsWriter::toBytes(lumen::AnsHeader(), store.first(n));
        if (ans.size() != lumen::AnsHeader::kSize + 4 * n)
            std::abort();
    }
    return 0;
}
