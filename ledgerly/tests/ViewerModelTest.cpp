#include "ledgerly/core/ViewerModel.h"

#include <gtest/gtest.h>

using namespace lumen::ledgerly;

TEST(ViewerLayout, TheGridFillsTheWindowBelowItsTopAndIsLeftAloneWhenTooSmall)
{
    // 98 % of the width, centred; above a strip twice the data bar's height.
    EXPECT_EQ(ViewerModel::gridGeometry(1000, 600, 20, 40), QRect(10, 40, 980, 520));
    EXPECT_EQ(ViewerModel::gridGeometry(101, 200, 10, 30), QRect(1, 30, 99, 150));
    EXPECT_EQ(ViewerModel::gridGeometry(400, 81, 20, 40), QRect(4, 40, 392, 1));
    EXPECT_FALSE(ViewerModel::gridGeometry(400, 80, 20, 40));
    EXPECT_FALSE(ViewerModel::gridGeometry(400, 0, 20, 40)); // minimised
    EXPECT_FALSE(ViewerModel::gridGeometry(0, 600, 20, 40));
}

TEST(ViewerWidths, OnlyWidthsOver100TwipsAreAppliedAndOnlyExistingColumnsAreKept)
{
    EXPECT_DOUBLE_EQ(ViewerModel::twipsPerPixel(96), 15.0);
    EXPECT_DOUBLE_EQ(ViewerModel::twipsPerPixel(144), 10.0);
    EXPECT_DOUBLE_EQ(ViewerModel::twipsPerPixel(0), 15.0); // a screen that reports no size

    ArchiverSettings::Widths widths{};
    widths[0] = 1500;
    widths[3] = 100;
    widths[4] = 101; // a sliver, but a width all the same
    widths[5] = 907; // to the nearest pixel
    widths[11] = 9000;
    widths[12] = 700; // beyond a 12-column table
    widths[100] = 555;
    EXPECT_EQ(ViewerModel::widthsToApply(widths, 12, 15.0),
              (QList<QPair<int, int>>{{0, 100}, {4, 7}, {5, 60}, {11, 600}}));
    EXPECT_EQ(ViewerModel::widthsToApply(widths, 1, 10.0), (QList<QPair<int, int>>{{0, 150}}));
    EXPECT_TRUE(ViewerModel::widthsToApply(widths, 0, 15.0).isEmpty());

    QList<double> grid(12, 80.0);
    grid[1] = 60.0; // narrower than 100 pixels, still well over 100 twips
    grid[2] = 8.1;  // 121.5 twips: halves go to the even neighbour
    grid[3] = 5000.0;
    ViewerModel::storeWidths(widths, grid, 15.0);
    EXPECT_EQ(widths[0], 1200);
    EXPECT_EQ(widths[1], 900);
    EXPECT_EQ(widths[2], 122);
    EXPECT_EQ(widths[3], 32767);
    EXPECT_EQ(widths[11], 1200);
    EXPECT_EQ(widths[12], 700);
    EXPECT_EQ(widths[100], 555);
    // What was stored comes back as it was.
    EXPECT_EQ(ViewerModel::widthsToApply(widths, 2, 15.0),
              (QList<QPair<int, int>>{{0, 80}, {1, 60}}));

    // A table wider than the 100 kept slots stores only those.
    ViewerModel::storeWidths(widths, QList<double>(150, 200.0), 15.0);
    EXPECT_EQ(widths[99], 3000);
    EXPECT_EQ(widths[100], 555);
}
