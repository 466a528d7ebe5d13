#include "common/testsupport/SmallScreen.h"
#include "sequa/gui/RoiDataWindow.h"
#include "sequa/gui/RxMainWindow.h"
#include "sequa/tests/SequaTestBench.h"

#include <gtest/gtest.h>

namespace lumen::sequa::test {
namespace {

class SmallScreen : public SequaTestBench
{
};

TEST_F(SmallScreen, EveryWindowFitsWithItsButtonsInReach)
{
    RxMainWindow main(*m_program);
    lumen::test::expectFitsSmallScreen(main);
    RoiDataWindow roi;
    lumen::test::expectFitsSmallScreen(roi);
}

} // namespace
} // namespace lumen::sequa::test
