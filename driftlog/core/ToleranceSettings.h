#pragma once

#include "driftlog/core/RuleSet.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * The optional limits and choices kept as plain text beside the program in
 * StabLimits.txt, one "key = value" a line ("#" starts a comment):
 *
 *     gain = 0.05      # % drift allowed either side of 0 in "% Gain drift" mode
 *     kev = 0.3        # keV drift allowed in "keV drift" mode
 *     fwhm = 2.2       # keV: a wider peak is an action
 *     rate = 5         # %: a decay-corrected count rate further from the reference's
 *     halflife = 30.08 y   # of the check source; units s, min, h, d, y
 *     rules = 1-3s 2-2s R-4s 10-x ewma cusum
 */
struct ToleranceSettings
{
    static constexpr const char *kFileName = "StabLimits.txt";

    std::optional<double> gain; ///< in %
    std::optional<double> keV;  ///< in keV
    std::optional<double> fwhm; ///< in keV, an upper limit
    std::optional<double> rate; ///< in % of the reference's count rate
    std::optional<double> halfLifeSeconds;
    RuleSet rules = RuleSet::all();

    /** The drift tolerance for a mode (0 % gain, 1 keV). */
    std::optional<double> forMode(int mode) const { return mode == 0 ? gain : keV; }

    /** Parses the file's text; throws Failure naming the line that cannot be read. */
    static ToleranceSettings parse(QByteArrayView bytes);
    /** Reads the file; an absent file sets no tolerance and keeps every rule. Throws Failure. */
    static ToleranceSettings load(const QString &path);

    /** "30.08 y", "432.6 d", "5.27y": seconds; nothing when no positive number and known unit. */
    static std::optional<double> halfLifeOf(const QString &text);
};

} // namespace lumen::driftlog
