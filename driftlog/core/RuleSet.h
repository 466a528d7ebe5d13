#pragma once

#include "driftlog/core/ControlRule.h"

#include <QString>

namespace lumen::driftlog {

/**
 * The rules chosen in StabLimits.txt ("rules = 1-3s 2-2s R-4s 10-x ewma
 * cusum"). The tolerance is no choice: it is checked whenever one is set.
 */
class RuleSet
{
public:
    /** Every rule: the Westgard rules, EWMA and CUSUM. */
    static RuleSet all();
    /** The rules named in `text`, blank-separated, in any letter case; throws Failure. */
    static RuleSet parse(const QString &text);

    bool has(ControlRule rule) const
    {
        return rule == ControlRule::Tolerance || (m_bits & bit(rule)) != 0;
    }
    bool operator==(const RuleSet &other) const = default;

private:
    static unsigned bit(ControlRule rule) { return 1u << unsigned(rule); }
    unsigned m_bits = 0;
};

} // namespace lumen::driftlog
