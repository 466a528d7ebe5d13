// Feeds arbitrary bytes to the readers of the drift logger's outside files:
// the results report, the settings record, the tolerance file and the lines
// of the stability and QC logs, then the drift rules and the control charts
// on what they yield.
#include "common/core/Cp1252.h"
#include "common/core/Failure.h"
#include "common/core/NumberText.h"
#include "common/core/TextFile.h"
#include "driftlog/core/ControlChart.h"
#include "driftlog/core/DriftCalculator.h"
#include "driftlog/core/QcCharts.h"
#include "driftlog/core/QcLog.h"
#include "driftlog/core/ReportPeakReader.h"
#include "driftlog/core/StabSettings.h"
#include "driftlog/core/StabilityLog.h"
#include "driftlog/core/ToleranceSettings.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace lumen::driftlog;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReportPeak peak = ReportPeakReader::parse(bytes);
    if (const auto settings = StabSettings::fromRecord(bytes)) {
        (void)settings->toRecord();
        if (settings->referenceCentre > 0.0f && peak.centre) {
            const double centre = lumen::numericValue(*peak.centre);
            (void)DriftCalculator::keVDriftText(centre, settings->referenceCentre);
            (void)DriftCalculator::percentDriftText(centre, settings->referenceCentre);
        }
        if (peak.date && peak.time)
            (void)DriftCalculator::elapsedMinutes(*peak.date, *peak.time, settings->referenceDate,
                                                  settings->referenceTime);
    }

    std::optional<double> tolerance;
    try {
        tolerance = ToleranceSettings::parse(bytes).forMode(1);
    } catch (const lumen::Failure &) {
    }
    ToleranceSettings limits;
    try {
        limits = ToleranceSettings::parse(bytes);
    } catch (const lumen::Failure &) {
    }
    DriftSeries series;
    QcLog::Series qc;
    for (const QString &line : lumen::textfile::splitLines(lumen::fromCp1252(bytes))) {
        if (const auto point = StabilityLog::parseLine(line))
            series << *point;
        if (const auto row = QcLog::parseRow(line)) {
            if (row->minutes == 0)
                qc.reference = row;
            else
                qc.points << *row;
        }
    }
    const ControlChart chart(series, tolerance, QStringLiteral("keV"));
    (void)chart.verdict().text();
    const QcCharts charts = QcCharts::of(series, qc, limits, 1, QStringLiteral("keV"));
    if (!series.isEmpty())
        (void)charts.verdictAt(series.last().minutes).headline();
    return 0;
}
