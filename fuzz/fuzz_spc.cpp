// Any bytes as an SPC file: the reader must give its message or a spectrum,
// never read outside the buffer, and what it loads must convert.
#include "AnsWriter.h"
#include "BoxNames.h"
#include "SpcReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static transpec::ChannelStore store;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const transpec::IncomingSpectrum r =
        transpec::SpcReader::read(bytes, QStringLiteral("fuzz.spc"), store);
    if (!r.loaded && r.messages.isEmpty())
        std::abort(); // a file not loaded must say why
    if (r.loaded) {
        const int n = r.boxes.value(transpec::box::NumChan).toInt();
        const QByteArray ans = transpec::AnsWriter::toBytes(transpec::AnsHeader(), store.first(n));
        if (ans.size() < transpec::AnsHeader::kSize)
            std::abort();
    }
    return 0;
}
