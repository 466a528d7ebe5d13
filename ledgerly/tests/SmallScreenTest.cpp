#include "common/testsupport/SmallScreen.h"
#include "common/testsupport/ScriptedOperator.h"
#include "common/testsupport/TestSupport.h"
#include "ledgerly/gui/ParseItWindow.h"
#include "ledgerly/gui/ViewRWindow.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumen::ledgerly;

TEST(SmallScreen, TheArchiverAndItsGridFitWithTheirButtonsInReach)
{
    QTemporaryDir dir;
    lumen::ScriptedOperator op;
    lumen::setCurrentOperator(&op);
    ArchiverModel model;
    model.setOperator(&op);
    model.setApath(dir.filePath("results.db"));
    model.setRpath(lumen::test::samplePath("RESULTS_normal.TXT"));
    ASSERT_EQ(model.readLmnFile(), ArchiverModel::ReadStatus::Read);
    ASSERT_TRUE(model.appendIt());
    {
        ParseItWindow window(model, dir.path());
        lumen::test::expectFitsSmallScreen(window);
        QTest::mouseClick(window.findChild<QPushButton *>("ViewR"), Qt::LeftButton);
        ASSERT_NE(window.viewer(), nullptr);
        lumen::test::expectFitsSmallScreen(*window.viewer());
    }
    lumen::setCurrentOperator(nullptr);
}
