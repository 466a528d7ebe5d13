// The archiver's settings files on arbitrary bytes: the 144-byte paths record
// and the column widths text.
#include "ArchiverSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto paths = ledgerly::ArchiverSettings::parsePaths(bytes)) {
        if (ledgerly::ArchiverSettings::pathsRecord(*paths).size() !=
            ledgerly::ArchiverSettings::kRecordSize)
            __builtin_trap();
    }
    ledgerly::ArchiverSettings::Widths widths{};
    ledgerly::ArchiverSettings::parseWidths(bytes, widths);
    if (ledgerly::ArchiverSettings::widthsText(widths).count("\r\n") !=
        ledgerly::ArchiverSettings::kStoredWidths)
        __builtin_trap();
    return 0;
}
