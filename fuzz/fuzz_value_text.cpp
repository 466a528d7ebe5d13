// Value-file texts as the Get commands read them: each line as a number and
// as a date and time, through the one reader of each.
#include "common/core/Cp1252.h"
#include "common/core/DateText.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "common/core/TextFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : lumen::textfile::splitLines(lumen::fromCp1252(bytes))) {
        const double value = lumen::numericValue(line);
        lumen::shortDoubleText(value);
        lumen::printSingleText(lumen::reportNumber(line));
        lumen::formatNumber(value, u"#####0.00");
        try {
            lumen::int32OfText(line);
            lumen::strictInt16(line);
        } catch (const lumen::Failure &) {
        }
        // A number shown with 15 digits reads back as the same number to those digits.
        if (lumen::isNumberText(line) && std::isfinite(value) &&
            std::fabs(lumen::numericValue(lumen::shortDoubleText(value)) - value) >
                1e-13 * std::fabs(value))
            __builtin_trap();
        if (const auto date = lumen::parseDate(line)) {
            if (!date->isValid())
                __builtin_trap();
            lumen::formatDate(*date, u"DD-MMM-YYYY");
        }
        if (const auto time = lumen::parseTime(line); time && !time->isValid())
            __builtin_trap();
        if (const auto when = lumen::parseDateTime(line)) {
            if (!when->isValid())
                __builtin_trap();
            lumen::fromOleDate(lumen::toOleDate(*when));
        }
    }
    return 0;
}
