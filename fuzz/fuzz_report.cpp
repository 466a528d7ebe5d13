// The results report reader on arbitrary bytes: every window and table index
// must stay inside the line and the 100 x 25 tables.
#include "ledgerly/core/ReportReader.h"
#include "ledgerly/core/ResultColumns.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    lumen::ledgerly::ReportResult result = lumen::ledgerly::ReportReader::parse(bytes);
    if (result.nuclideCount < 0 || result.nuclideCount > lumen::ledgerly::ReportResult::kMaxBlocks)
        __builtin_trap();
    const QStringList markers = lumen::ledgerly::ResultColumns::defaultModeMarkers();
    for (int i = 1; i <= result.nuclideCount; ++i) {
        const int rows = result.blocks[i].rowCount;
        if (rows < 0 || rows > lumen::ledgerly::NuclideBlock::kMaxRows)
            __builtin_trap();
        for (int j = 1; j <= rows; ++j)
            for (int mode = 0; mode < 4; ++mode)
                lumen::ledgerly::ResultColumns::resultColumnName(result, i, j, mode, markers);
    }
    // A second read into the same result must not depend on what the first left.
    lumen::ledgerly::ReportReader::read(bytes, result);
    return 0;
}
