#include "driftlog/core/Verdict.h"

#include "common/core/NumberText.h"

namespace lumen::driftlog {

namespace {
QString number(double value)
{
    return lumen::formatNumber(value, u"#0.0###");
}

QString ruleList(const QList<ControlRule> &rules)
{
    QStringList names;
    for (ControlRule r : rules)
        names << ruleName(r);
    return names.join(QStringLiteral(", "));
}

QString toleranceText(const ToleranceBand &t, Sides sides, const QString &unit)
{
    if (sides == Sides::UpperOnly)
        return QStringLiteral("tolerance up to %1 %2").arg(number(t.high()), unit);
    if (t.centre == 0.0)
        return QStringLiteral("tolerance \u00b1%1 %2").arg(number(t.halfWidth), unit);
    return QStringLiteral("tolerance %1 to %2 %3").arg(number(t.low()), number(t.high()), unit);
}
} // namespace

QString Verdict::headline() const
{
    switch (level) {
    case Level::NoLimitsYet:
        return QStringLiteral("no limits yet");
    case Level::InControl:
        return QStringLiteral("in control");
    case Level::Warning:
        return QStringLiteral("warning: ") + ruleList(rules);
    case Level::Action:
        return QStringLiteral("action: ") + ruleList(rules);
    }
    return QString();
}

QString Verdict::text() const
{
    QStringList parts;
    if (limits && sides == Sides::UpperOnly) {
        parts << QStringLiteral("mean %1 %2").arg(number(limits->mean), unit)
              << QStringLiteral("warning above %1").arg(number(limits->warningHigh()))
              << QStringLiteral("action above %1").arg(number(limits->actionHigh()));
    } else if (limits) {
        parts << QStringLiteral("mean %1 %2").arg(number(limits->mean), unit)
              << QStringLiteral("warning %1 to %2")
                     .arg(number(limits->warningLow()), number(limits->warningHigh()))
              << QStringLiteral("action %1 to %2")
                     .arg(number(limits->actionLow()), number(limits->actionHigh()));
    } else {
        parts << QStringLiteral("%1 of %2 baseline points")
                     .arg(baselinePoints)
                     .arg(ControlLimits::kBaselinePoints);
    }
    if (tolerance)
        parts << toleranceText(*tolerance, sides, unit);
    return headline() + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace lumen::driftlog
