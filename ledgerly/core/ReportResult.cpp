#include "ReportResult.h"

#include "FixedText.h"

namespace ledgerly {

ReportResult::ReportResult()
    : sampleId(lumen::fixedWidth(u"", kSampleIdWidth)),
      spectrumFile(lumen::fixedWidth(u"", kSpectrumFileWidth)),
      reportDate(lumen::fixedWidth(u"", kReportDateWidth)),
      activityDate(lumen::fixedWidth(u"", kActivityDateWidth))
{
    for (auto &block : blocks)
        block.nuclideName = lumen::fixedWidth(u"", 6);
}

} // namespace ledgerly
