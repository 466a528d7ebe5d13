#include "driftlog/core/ControlRule.h"

namespace lumen::driftlog {

QString ruleName(ControlRule rule)
{
    switch (rule) {
    case ControlRule::Beyond3s:
        return QStringLiteral("1-3s");
    case ControlRule::Beyond2s:
        return QStringLiteral("1-2s");
    case ControlRule::Two2s:
        return QStringLiteral("2-2s");
    case ControlRule::Range4s:
        return QStringLiteral("R-4s");
    case ControlRule::TenOneSide:
        return QStringLiteral("10-x");
    case ControlRule::Ewma:
        return QStringLiteral("ewma");
    case ControlRule::Cusum:
        return QStringLiteral("cusum");
    case ControlRule::Tolerance:
        return QStringLiteral("tolerance");
    }
    return QString();
}

bool isActionRule(ControlRule rule)
{
    return rule != ControlRule::Beyond2s && rule != ControlRule::Two2s &&
           rule != ControlRule::Range4s && rule != ControlRule::TenOneSide;
}

} // namespace lumen::driftlog
