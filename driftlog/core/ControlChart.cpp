#include "driftlog/core/ControlChart.h"

#include "driftlog/core/ControlRules.h"

#include <algorithm>

namespace lumen::driftlog {

namespace {
QuantityTraits driftSpec(std::optional<double> tolerance, QString unit)
{
    QuantityTraits spec;
    spec.name = QStringLiteral("drift");
    spec.unit = std::move(unit);
    if (tolerance)
        spec.tolerance = ToleranceBand{0.0, *tolerance};
    return spec;
}
} // namespace

ControlChart::ControlChart(DriftSeries points, std::optional<double> tolerance, QString unit)
    : ControlChart(std::move(points), driftSpec(tolerance, std::move(unit)))
{
}

ControlChart::ControlChart(DriftSeries points, QuantityTraits spec)
    : m_points(std::move(points)), m_spec(std::move(spec))
{
    QList<double> values;
    for (const DriftPoint &p : m_points)
        values << p.drift;
    m_limits = ControlLimits::fromBaseline(values);
    if (m_limits) {
        m_ewma = Ewma::of(values, *m_limits);
        m_cusum = Cusum::of(values, *m_limits);
    }
    const bool both = m_spec.sides == Sides::Both;
    for (int i = 0; i < values.size(); ++i) {
        QList<ControlRule> broken = ControlRules::brokenAt(values, i, m_limits, m_spec);
        if (m_limits) {
            const EwmaPoint &e = m_ewma[i];
            if (m_spec.rules.has(ControlRule::Ewma) &&
                (e.value > e.high || (both && e.value < e.low)))
                broken << ControlRule::Ewma;
            const double h = Cusum::decision(*m_limits);
            if (m_spec.rules.has(ControlRule::Cusum) &&
                (m_cusum[i].high > h || (both && m_cusum[i].low > h)))
                broken << ControlRule::Cusum;
        }
        std::stable_partition(broken.begin(), broken.end(), isActionRule);
        m_broken << broken;
    }
}

Verdict ControlChart::verdict() const
{
    Verdict v;
    v.quantity = m_spec.name;
    v.limits = m_limits;
    v.tolerance = m_spec.tolerance;
    v.sides = m_spec.sides;
    v.unit = m_spec.unit;
    v.baselinePoints = int(std::min<qsizetype>(m_points.size(), ControlLimits::kBaselinePoints));
    if (!m_broken.isEmpty())
        v.rules = m_broken.last();
    if (std::any_of(v.rules.begin(), v.rules.end(), isActionRule))
        v.level = Verdict::Level::Action;
    else if (!v.rules.isEmpty())
        v.level = Verdict::Level::Warning;
    else
        v.level = m_limits ? Verdict::Level::InControl : Verdict::Level::NoLimitsYet;
    return v;
}

} // namespace lumen::driftlog
