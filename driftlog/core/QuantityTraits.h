#pragma once

#include "driftlog/core/RuleSet.h"

#include <QString>
#include <optional>

namespace lumen::driftlog {

/** Which way a quantity may fail: both, or only upward (a resolution that improves is no fault). */
enum class Sides
{
    Both,
    UpperOnly,
};

/** A fixed tolerance: values beyond centre ± halfWidth (only above, for an upper-only quantity). */
struct ToleranceBand
{
    double centre = 0.0;
    double halfWidth = 0.0;

    double low() const { return centre - halfWidth; }
    double high() const { return centre + halfWidth; }
    bool beyond(double value, Sides sides) const
    {
        return value > high() || (sides == Sides::Both && value < low());
    }
};

/** What a control chart judges and how: its name, unit, sides, tolerance and rules. */
struct QuantityTraits
{
    QString name; ///< "drift", "FWHM" or "rate", as verdicts name it
    QString unit; ///< "%", "keV" or "cps"
    Sides sides = Sides::Both;
    std::optional<ToleranceBand> tolerance;
    RuleSet rules = RuleSet::all();
};

} // namespace lumen::driftlog
