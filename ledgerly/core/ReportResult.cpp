#include "ledgerly/core/ReportResult.h"

#include "common/core/FixedText.h"

namespace lumen::ledgerly {

ReportResult::ReportResult()
    : sampleId(lumen::fixedWidth(u"", kSampleIdWidth)),
      spectrumFile(lumen::fixedWidth(u"", kSpectrumFileWidth)),
      reportDate(lumen::fixedWidth(u"", kReportDateWidth)),
      activityDate(lumen::fixedWidth(u"", kActivityDateWidth))
{
    for (auto &block : blocks)
        block.nuclideName = lumen::fixedWidth(u"", 6);
}

} // namespace lumen::ledgerly
