#include "ledgerly/core/ReportCompleteness.h"

#include <gtest/gtest.h>

namespace {

// Reports in tests are written before they are read: the settle costs no real time.
class NoSettlePause : public ::testing::Environment
{
public:
    void SetUp() override
    {
        lumen::ledgerly::ReportCompleteness::setPause([](const QString &) {});
    }
};

const auto *const kNoSettlePause = ::testing::AddGlobalTestEnvironment(new NoSettlePause);

} // namespace
