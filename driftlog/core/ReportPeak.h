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
    std::optional<QString> id;       ///< untrimmed, at most 72 characters
    std::optional<QString> date;     ///< trimmed measurement date text
    std::optional<QString> time;     ///< trimmed measurement time text
    std::optional<QString> centre;   ///< trimmed peak centre text (keV) of the last line
    std::optional<QString> fwhm;     ///< trimmed FWHM text (keV) of the last line, when it has one
    std::optional<QString> netArea;  ///< trimmed net area text of the last line, when it has one
    std::optional<QString> liveTime; ///< the live time (s) of the "LT:" line
    /**
     * The "File:" line holds no "Date:": the date text is then whatever the
     * columns hold, and when it is no date, the date is missing.
     */
    bool dateMissing = false;
    /** SHA-256 of the report file's bytes, hex; empty for a report not read from a file. */
    QString sha256;
};

} // namespace lumen::driftlog
