#pragma once

#include "driftlog/core/ControlLimits.h"
#include "driftlog/core/ControlRule.h"

#include <QList>
#include <optional>

namespace lumen::driftlog {

/** Checks one point of a drift series against the limits and the tolerance. */
class ControlRules
{
public:
    /**
     * The rules broken by drifts[index], action rules first. "1-2s" is left
     * out when "1-3s" is broken. Without limits only the tolerance is
     * checked; "beyond" is strict, so a point on a limit breaks nothing.
     */
    static QList<ControlRule> brokenAt(const QList<double> &drifts, int index,
                                       const std::optional<ControlLimits> &limits,
                                       std::optional<double> tolerance);
};

} // namespace lumen::driftlog
