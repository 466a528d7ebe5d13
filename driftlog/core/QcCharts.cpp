#include "driftlog/core/QcCharts.h"

namespace lumen::driftlog {

namespace {
QuantityTraits specOf(const QString &name, const QString &unit, Sides sides, const RuleSet &rules)
{
    QuantityTraits spec;
    spec.name = name;
    spec.unit = unit;
    spec.sides = sides;
    spec.rules = rules;
    return spec;
}
} // namespace

QcCharts QcCharts::of(const DriftSeries &drift, const QcLog::Series &qc,
                      const ToleranceSettings &settings, int mode, const QString &unit)
{
    QuantityTraits driftSpec = specOf(QStringLiteral("drift"), unit, Sides::Both, settings.rules);
    if (const auto t = settings.forMode(mode))
        driftSpec.tolerance = ToleranceBand{0.0, *t};

    QuantityTraits fwhmSpec =
        specOf(QStringLiteral("FWHM"), QStringLiteral("keV"), Sides::UpperOnly, settings.rules);
    // An upper limit only: the band's low side is never checked.
    if (settings.fwhm)
        fwhmSpec.tolerance = ToleranceBand{0.0, *settings.fwhm};

    const bool corrected = settings.halfLifeSeconds.has_value();
    DriftSeries widths;
    DriftSeries rates;
    for (const QcRecord &r : qc.points) {
        if (r.fwhm)
            widths << DriftPoint{r.minutes, *r.fwhm};
        if (const auto rate = r.judgedRate(corrected))
            rates << DriftPoint{r.minutes, *rate};
    }
    QuantityTraits rateSpec =
        specOf(QStringLiteral("rate"), QStringLiteral("cps"), Sides::Both, settings.rules);
    std::optional<double> referenceRate;
    if (qc.reference && qc.reference->rate)
        referenceRate = qc.reference->rate; // at the reference no decay has happened yet
    else if (!rates.isEmpty())
        referenceRate = rates.first().drift;
    if (settings.rate && referenceRate)
        rateSpec.tolerance = ToleranceBand{*referenceRate, *referenceRate * *settings.rate / 100.0};

    return {ControlChart(drift, driftSpec), ControlChart(widths, fwhmSpec),
            ControlChart(rates, rateSpec), std::nullopt};
}

QcVerdict QcCharts::verdictAt(qint32 minutes) const
{
    QcVerdict v;
    for (const ControlChart *chart : {&drift, &fwhm, &rate}) {
        if (!chart->points().isEmpty() && chart->points().last().minutes == minutes)
            v.verdicts << chart->verdict();
    }
    return v;
}

} // namespace lumen::driftlog
