#pragma once

#include "driftlog/core/ControlLimits.h"
#include "driftlog/core/ControlRule.h"
#include "driftlog/core/QuantityTraits.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/** What the newest point of one quantity's series says about the spectrometer. */
struct Verdict
{
    enum class Level
    {
        NoLimitsYet, ///< fewer baseline points than the limits need, tolerance kept
        InControl,
        Warning,
        Action, ///< beyond an action limit, EWMA, CUSUM or the tolerance
    };

    Level level = Level::NoLimitsYet;
    QList<ControlRule> rules;
    QString quantity; ///< "drift", "FWHM" or "rate"
    std::optional<ControlLimits> limits;
    std::optional<ToleranceBand> tolerance;
    Sides sides = Sides::Both;
    int baselinePoints = 0; ///< points seen so far toward the baseline
    QString unit;           ///< "%", "keV" or "cps"

    /** "in control", "warning: 2-2s", "action: 1-3s, cusum" or "no limits yet". */
    QString headline() const;
    /** The headline followed by the limits it was judged against. */
    QString text() const;
    /** 4 at an action, 0 otherwise: a warning is logged and reported, not failed. */
    int exitStatus() const { return level == Level::Action ? 4 : 0; }
};

} // namespace lumen::driftlog
