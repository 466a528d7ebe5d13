#pragma once

#include "driftlog/core/ControlLimits.h"
#include "driftlog/core/ControlRule.h"
#include "driftlog/core/DriftPoint.h"
#include "driftlog/core/Verdict.h"

#include <QList>
#include <QString>
#include <optional>

namespace lumen::driftlog {

/** A drift series with its baseline limits, its tolerance and the rules each point breaks. */
class ControlChart
{
public:
    /** `unit` is "%" or "keV", the unit the log's drifts are written in. */
    ControlChart(DriftSeries points, std::optional<double> tolerance, QString unit);

    const DriftSeries &points() const { return m_points; }
    const std::optional<ControlLimits> &limits() const { return m_limits; }
    std::optional<double> tolerance() const { return m_tolerance; }
    const QString &unit() const { return m_unit; }
    /** The rules points()[index] breaks. */
    const QList<ControlRule> &brokenAt(int index) const { return m_broken[index]; }

    /** The verdict on the newest point; NoLimitsYet for an empty series. */
    Verdict verdict() const;

private:
    DriftSeries m_points;
    std::optional<ControlLimits> m_limits;
    std::optional<double> m_tolerance;
    QString m_unit;
    QList<QList<ControlRule>> m_broken;
};

} // namespace lumen::driftlog
