#pragma once

#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * What one read of the results report found. A field is empty when its line
 * was absent, so the window keeps its previous text there.
 */
struct ReportPeak
{
    std::optional<QString> id;     ///< untrimmed, at most 72 characters
    std::optional<QString> date;   ///< trimmed measurement date text
    std::optional<QString> time;   ///< trimmed measurement time text
    std::optional<QString> centre; ///< trimmed peak centre text (keV) of the last line
};

} // namespace lumen::driftlog
