// The archiver's settings files on arbitrary bytes: the 144-byte paths record
// and the column widths text.
#include "ledgerly/core/ArchiverSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto paths = lumen::ledgerly::ArchiverSettings::parsePaths(bytes)) {
        if (lumen::ledgerly::ArchiverSettings::pathsRecord(*paths).size() !=
            lumen::ledgerly::ArchiverSettings::kRecordSize)
            __builtin_trap();
    }
    lumen::ledgerly::ArchiverSettings::Widths widths{};
    lumen::ledgerly::ArchiverSettings::parseWidths(bytes, widths);
    if (lumen::ledgerly::ArchiverSettings::widthsText(widths).count("\r\n") !=
        lumen::ledgerly::ArchiverSettings::kStoredWidths)
        __builtin_trap();
    return 0;
}
