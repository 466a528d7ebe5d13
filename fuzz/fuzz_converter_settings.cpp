// The converter's settings record on arbitrary bytes: a record that loads
// writes back as the same 290 bytes.
#include "transpec/core/TranspecSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto settings = lumen::transpec::TranspecSettings::fromBytes(bytes);
    if (settings) {
        const QByteArray again = settings->toBytes();
        if (again.size() != lumen::transpec::TranspecSettings::kSize)
            __builtin_trap();
        const auto reread = lumen::transpec::TranspecSettings::fromBytes(again);
        if (!reread || reread->toBytes() != again)
            __builtin_trap();
    }
    return 0;
}
