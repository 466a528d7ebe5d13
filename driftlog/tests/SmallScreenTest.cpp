#include "common/testsupport/SmallScreen.h"
#include "driftlog/gui/DriftChartView.h"
#include "driftlog/gui/ParseIt.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(SmallScreen, TheDriftWindowFitsWithItsButtonsInReach)
{
    QTemporaryDir dir;
    lumen::driftlog::ParseIt window(dir.path());
    lumen::test::expectFitsSmallScreen(window);
    // At 125 % every logical pixel takes 1.25 of the screen's.
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize()) * 1.25;
    EXPECT_LE(least.width(), lumen::test::kSmallScreenClient.width());
    EXPECT_LE(least.height(), lumen::test::kSmallScreenClient.height());
}

TEST(SmallScreen, ALongStatusLeavesTheModeFrameItsOptions)
{
    QTemporaryDir dir;
    lumen::driftlog::ParseIt window(dir.path());
    window.show();
    window.resize(window.minimumSizeHint());
    auto *rpath = window.findChild<QLineEdit *>("Rpath");
    rpath->setText(dir.filePath(QString("no such report ").repeated(60)));
    Q_EMIT rpath->textEdited(rpath->text());
    QTest::mouseClick(window.findChild<QPushButton *>("ReadLmnFile"), Qt::LeftButton);
    QApplication::processEvents();
    auto *frame = window.findChild<QGroupBox *>("Frame1");
    EXPECT_GE(frame->height(), frame->sizeHint().height());
    for (const char *name : {"Option1_1", "Option1_2"}) {
        auto *option = window.findChild<QRadioButton *>(name);
        EXPECT_TRUE(frame->rect().contains(QRect(option->pos(), option->size()))) << name;
    }
    EXPECT_LE(window.minimumSizeHint().height(), lumen::test::kSmallScreenClient.height());
}

TEST(SmallScreen, TheChartOpensWithinTheScreen)
{
    QTemporaryDir dir;
    lumen::driftlog::ParseIt window(dir.path());
    window.showChart();
    ASSERT_TRUE(window.chartView());
    const QSize available = window.chartView()->screen()->availableGeometry().size();
    EXPECT_LE(window.chartView()->width(), available.width());
    EXPECT_LE(window.chartView()->height(), available.height());
}
