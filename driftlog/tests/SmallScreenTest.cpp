#include "common/testsupport/SmallScreen.h"
#include "driftlog/gui/ParseIt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SmallScreen, TheDriftWindowFitsWithItsButtonsInReach)
{
    QTemporaryDir dir;
    lumen::driftlog::ParseIt window(dir.path());
    lumen::test::expectFitsSmallScreen(window);
}
