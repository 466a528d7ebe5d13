#include "ledgerly/core/ResultColumns.h"

#include <gtest/gtest.h>

using namespace lumen::ledgerly;

namespace {

ReportResult twoBlocks(bool corrCoeff)
{
    ReportResult r;
    r.corrCoeffLayout = corrCoeff;
    r.nuclideCount = 2;
    r.blocks[1].nuclideName = "K-40  ";
    r.blocks[1].rowCount = 1;
    r.blocks[1].rows[1] = {1460.82f, 412.0f, 5500.0f, 6020.0f};
    r.blocks[2].nuclideName = " CO-60";
    r.blocks[2].rowCount = 3;
    r.blocks[2].rows[1] = {1173.23f, 3.047f, 2488.0f, 2890.0f};
    r.blocks[2].rows[3] = {2000.0f, 1.0f, 900.0f, 100.0f};
    return r;
}

QString name(const ReportResult &r, int block, int row, int mode)
{
    return ResultColumns::resultColumnName(r, block, row, mode,
                                           ResultColumns::defaultModeMarkers());
}

} // namespace

TEST(ResultColumns, NamesFollowTheModeAndLayout)
{
    const ReportResult ordinary = twoBlocks(false);
    EXPECT_EQ(name(ordinary, 1, 1, ActivityMode), "K-40");
    EXPECT_EQ(name(ordinary, 2, 1, ActivityMode), "CO-60@LINE1");
    EXPECT_EQ(name(ordinary, 2, 3, ActivityMode), "CO-60@LINE3");
    EXPECT_EQ(name(ordinary, 1, 1, NetMode), "K-40@NET1");
    EXPECT_EQ(name(ordinary, 2, 2, GrossMode), "CO-60@GROSS2");
    EXPECT_EQ(name(ordinary, 1, 1, BackgroundMode), "K-40@BKG1");

    const ReportResult alternative = twoBlocks(true);
    EXPECT_EQ(name(alternative, 1, 1, ActivityMode), "K-40@1460:82");
    EXPECT_EQ(name(alternative, 2, 3, ActivityMode), "CO-60@2000");
    EXPECT_EQ(name(alternative, 2, 1, NetMode), "CO-60@NET1");
}

TEST(ResultColumns, OnlyTheFirstDotBecomesAColon)
{
    ReportResult r = twoBlocks(true);
    r.blocks[1].nuclideName = "A.B   ";
    EXPECT_EQ(name(r, 1, 1, ActivityMode), "A:B@1460.82");
    EXPECT_FALSE(ResultColumns::isAcceptableName("A:B@1460.82"));
    EXPECT_TRUE(ResultColumns::isAcceptableName("CS-137@661:66"));
    EXPECT_FALSE(ResultColumns::isAcceptableName(""));
    EXPECT_FALSE(ResultColumns::isAcceptableName("a\"b"));
    EXPECT_FALSE(ResultColumns::isAcceptableName("[x]"));
}

TEST(ResultColumns, ModeValuesAndBackgroundMayBeNegative)
{
    const ReportResult r = twoBlocks(false);
    const PeakRow &row = r.blocks[1].rows[1];
    EXPECT_FLOAT_EQ(ResultColumns::modeValue(row, ActivityMode), 412.0f);
    EXPECT_FLOAT_EQ(ResultColumns::modeValue(row, NetMode), 5500.0f);
    EXPECT_FLOAT_EQ(ResultColumns::modeValue(row, GrossMode), 6020.0f);
    EXPECT_FLOAT_EQ(ResultColumns::modeValue(row, BackgroundMode), 520.0f);
    EXPECT_FLOAT_EQ(ResultColumns::modeValue(r.blocks[2].rows[3], BackgroundMode), -800.0f);
}

TEST(ResultColumns, ANameGivesBackItsNuclideRowAndEnergy)
{
    const struct
    {
        const char *column;
        const char *nuclide;
        int line;
        double energy;
    } cases[] = {{"K-40", "K-40", 1, 0},
                 {"CO-60@LINE2", "CO-60", 2, 0},
                 {"TH-228@GROSS13", "TH-228", 13, 0},
                 {"CO-60@1173:23", "CO-60", 0, 1173.23}};
    for (const auto &c : cases) {
        const ResultColumns::NameParts parts = ResultColumns::partsOf(c.column);
        EXPECT_EQ(parts.nuclide, c.nuclide) << c.column;
        EXPECT_EQ(parts.line, c.line) << c.column;
        EXPECT_DOUBLE_EQ(parts.energy, c.energy) << c.column;
    }
}
