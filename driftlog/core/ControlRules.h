#pragma once

#include "driftlog/core/ControlLimits.h"
#include "driftlog/core/ControlRule.h"
#include "driftlog/core/QuantityTraits.h"

#include <QList>
#include <optional>

namespace lumen::driftlog {

/** Checks one point of a series against the Westgard rules and the tolerance. */
class ControlRules
{
public:
    /**
     * The rules of `spec` broken by values[index], action rules first. "1-2s"
     * is left out when "1-3s" is broken. Without limits only the tolerance is
     * checked; "beyond" is strict, so a point on a limit breaks nothing. An
     * upper-only quantity breaks a rule only upward.
     */
    static QList<ControlRule> brokenAt(const QList<double> &values, int index,
                                       const std::optional<ControlLimits> &limits,
                                       const QuantityTraits &spec);
};

} // namespace lumen::driftlog
