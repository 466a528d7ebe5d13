#pragma once

#include "driftlog/core/ControlLimits.h"
#include "driftlog/core/ControlRule.h"
#include "driftlog/core/Cusum.h"
#include "driftlog/core/DriftPoint.h"
#include "driftlog/core/Ewma.h"
#include "driftlog/core/QuantityTraits.h"
#include "driftlog/core/Verdict.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/**
 * A series of one quantity with its baseline limits, its tolerance, its EWMA
 * and CUSUM, and the rules each point breaks.
 */
class ControlChart
{
public:
    ControlChart(DriftSeries points, QuantityTraits spec);
    /** A drift series: `unit` is "%" or "keV", the tolerance lies either side of 0. */
    ControlChart(DriftSeries points, std::optional<double> tolerance, QString unit);

    const DriftSeries &points() const { return m_points; }
    const std::optional<ControlLimits> &limits() const { return m_limits; }
    const QuantityTraits &spec() const { return m_spec; }
    const std::optional<ToleranceBand> &tolerance() const { return m_spec.tolerance; }
    const QString &unit() const { return m_spec.unit; }
    /** Empty without limits; one point per point of the series otherwise. */
    const QList<EwmaPoint> &ewma() const { return m_ewma; }
    const QList<CusumPoint> &cusum() const { return m_cusum; }
    /** The rules points()[index] breaks. */
    const QList<ControlRule> &brokenAt(int index) const { return m_broken[index]; }

    /** The verdict on the newest point; NoLimitsYet for an empty series. */
    Verdict verdict() const;

private:
    DriftSeries m_points;
    QuantityTraits m_spec;
    std::optional<ControlLimits> m_limits;
    QList<EwmaPoint> m_ewma;
    QList<CusumPoint> m_cusum;
    QList<QList<ControlRule>> m_broken;
};

} // namespace lumen::driftlog
