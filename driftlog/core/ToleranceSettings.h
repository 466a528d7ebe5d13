#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * The optional fixed tolerance of the drift, kept as plain text beside the
 * program in StabLimits.txt, one "key = value" a line ("#" starts a comment):
 *
 *     gain = 0.05   # % drift allowed either side of 0 in "% Gain drift" mode
 *     kev = 0.3     # keV drift allowed in "keV drift" mode
 */
struct ToleranceSettings
{
    static constexpr const char *kFileName = "StabLimits.txt";

    std::optional<double> gain; ///< in %
    std::optional<double> keV;  ///< in keV

    /** The tolerance for a mode (0 % gain, 1 keV). */
    std::optional<double> forMode(int mode) const { return mode == 0 ? gain : keV; }

    /** Parses the file's text; throws Failure naming the line that cannot be read. */
    static ToleranceSettings parse(QByteArrayView bytes);
    /** Reads the file; an absent file sets no tolerance. Throws Failure. */
    static ToleranceSettings load(const QString &path);
};

} // namespace lumen::driftlog
