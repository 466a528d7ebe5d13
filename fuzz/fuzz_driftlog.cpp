// Feeds arbitrary bytes to the readers of the drift logger's outside files:
// the results report and the settings record, then the drift rules on what
// they yield.
#include "common/core/NumberText.h"
#include "driftlog/core/DriftCalculator.h"
#include "driftlog/core/ReportPeakReader.h"
#include "driftlog/core/StabSettings.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lumen::driftlog::ReportPeak peak = lumen::driftlog::ReportPeakReader::parse(bytes);
    if (const auto settings = lumen::driftlog::StabSettings::fromRecord(bytes)) {
        (void)settings->toRecord();
        if (settings->referenceCentre > 0.0f && peak.centre) {
            const double centre = lumen::numericValue(*peak.centre);
            (void)lumen::driftlog::DriftCalculator::keVDriftText(centre, settings->referenceCentre);
            (void)lumen::driftlog::DriftCalculator::percentDriftText(centre,
                                                                     settings->referenceCentre);
        }
        if (peak.date && peak.time)
            (void)lumen::driftlog::DriftCalculator::elapsedMinutes(
                *peak.date, *peak.time, settings->referenceDate, settings->referenceTime);
    }
    return 0;
}
