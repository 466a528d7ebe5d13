// Feeds arbitrary bytes to the readers of the drift logger's outside files:
// the results report and the settings record, then the drift rules on what
// they yield.
#include "DriftCalculator.h"
#include "NumberText.h"
#include "ReportPeakReader.h"
#include "StabSettings.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const driftlog::ReportPeak peak = driftlog::ReportPeakReader::parse(bytes);
    if (const auto settings = driftlog::StabSettings::fromRecord(bytes)) {
        (void)settings->toRecord();
        if (settings->referenceCentre > 0.0f && peak.centre) {
            const double centre = lumen::numericValue(*peak.centre);
            (void)driftlog::DriftCalculator::keVDriftText(centre, settings->referenceCentre);
            (void)driftlog::DriftCalculator::percentDriftText(centre, settings->referenceCentre);
        }
        if (peak.date && peak.time)
            (void)driftlog::DriftCalculator::elapsedMinutes(
                *peak.date, *peak.time, settings->referenceDate, settings->referenceTime);
    }
    return 0;
}
