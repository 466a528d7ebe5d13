#include "driftlog/core/ControlChart.h"

#include "driftlog/core/ControlRules.h"

#include <algorithm>

namespace lumen::driftlog {

ControlChart::ControlChart(DriftSeries points, std::optional<double> tolerance, QString unit)
    : m_points(std::move(points)), m_tolerance(tolerance), m_unit(std::move(unit))
{
    QList<double> drifts;
    for (const DriftPoint &p : m_points)
        drifts << p.drift;
    m_limits = ControlLimits::fromBaseline(drifts);
    for (int i = 0; i < drifts.size(); ++i)
        m_broken << ControlRules::brokenAt(drifts, i, m_limits, m_tolerance);
}

Verdict ControlChart::verdict() const
{
    Verdict v;
    v.limits = m_limits;
    v.tolerance = m_tolerance;
    v.unit = m_unit;
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
