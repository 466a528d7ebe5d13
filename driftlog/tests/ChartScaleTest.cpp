#include "driftlog/core/ChartAxis.h"
#include "driftlog/core/PanelRange.h"
#include "driftlog/core/QcCharts.h"
#include "driftlog/gui/DriftChartPainter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace lumen::driftlog;

namespace {
/** A series kind a lab's log can hold: `count` daily points of value(i). */
struct SeriesKind
{
    const char *what;
    int count;
    double (*value)(int);
    std::optional<double> tolerance;
};

double dailyCreep(int i)
{
    return 0.0002 * (i / 7);
} // 7-digit steps, weekly
double flatRate(int)
{
    return 21.07333;
} // one value throughout
double noisyFlat(int i)
{
    return 1.52 + (i % 3) * 1e-15;
} // differs in its last bits
double wideSwing(int i)
{
    return i % 2 ? 1e9 : -1e9;
} // the log's extremes
double tinyValues(int i)
{
    return 1e-300 * (i % 5);
} // next to denormal
double manyWobbling(int i)
{
    return std::sin(i * 0.1) * 0.01;
} // thousands of points

const SeriesKind kKinds[] = {
    {"61 daily checks with a slow creep", 61, dailyCreep, 0.05},
    {"a flat series", 61, flatRate, std::nullopt},
    {"a flat series up to rounding", 40, noisyFlat, 2.2},
    {"a single point", 1, dailyCreep, std::nullopt},
    {"limits far from the data", 30, dailyCreep, 1e6},
    {"the log's largest values", 25, wideSwing, 0.1},
    {"values near the denormals", 25, tinyValues, std::nullopt},
    {"thousands of points", 5000, manyWobbling, 0.02},
};

ControlChart chartOf(const SeriesKind &kind)
{
    DriftSeries points;
    for (int i = 0; i < kind.count; ++i)
        points << DriftPoint{qint32(1440 * (i + 1) + i % 30), kind.value(i)};
    return ControlChart(points, kind.tolerance, QStringLiteral("%"));
}

QcCharts chartsOf(const SeriesKind &kind)
{
    QcCharts charts{chartOf(kind), chartOf(kind), chartOf(kind),
                    QDateTime(QDate(2026, 1, 5), QTime(7, 48), Qt::UTC)};
    return charts;
}
} // namespace

TEST(ChartScale, EverySeriesKindGetsAFewDistinctTicksAndHoldsItsPointsAndLimits)
{
    for (const SeriesKind &kind : kKinds) {
        SCOPED_TRACE(kind.what);
        const ControlChart chart = chartOf(kind);
        const AxisRange y = PanelRange::of(chart, false).values;
        ASSERT_GT(y.span(), 0.0);
        for (const DriftPoint &p : chart.points())
            EXPECT_TRUE(y.contains(p.drift)) << p.drift;
        if (const auto &l = chart.limits()) {
            EXPECT_TRUE(y.contains(l->actionHigh()));
            EXPECT_TRUE(y.contains(l->actionLow()));
        }
        for (int wanted : {1, 3, 8, 1000}) {
            const auto ticks = chartaxis::valueTicks(y, wanted);
            EXPECT_GE(ticks.size(), 1);
            EXPECT_LE(ticks.size(), chartaxis::kMostTicks);
            for (int i = 1; i < ticks.size(); ++i)
                EXPECT_NE(ticks[i].text, ticks[i - 1].text) << ticks[i].text.toStdString();
        }
        // Drawn whole: a loop that never ends fails this test by its time-out.
        const QImage image = DriftChartPainter::image(chartsOf(kind), QSize(900, 700));
        EXPECT_FALSE(image.isNull());
    }
}

TEST(ChartScale, AFarToleranceIsNamedOffTheScaleAndANearOneIsDrawn)
{
    const struct
    {
        double tolerance;
        bool drawn;
    } cases[] = {{0.002, true}, {0.004, false}, {1e6, false}};
    for (const auto &c : cases) {
        const ControlChart chart = chartOf({"creep", 61, dailyCreep, c.tolerance});
        const PanelRange range = PanelRange::of(chart, true);
        EXPECT_EQ(range.values.contains(c.tolerance), c.drawn) << c.tolerance;
        EXPECT_EQ(range.offScale.contains(c.tolerance), !c.drawn) << c.tolerance;
        // The points still fill a third of the panel at least.
        EXPECT_GE(0.0016 / range.values.span(), c.drawn ? 0.0 : 0.3);
    }
}

TEST(ChartScale, TheTimeAxisReadsAsDatesOnRoundSteps)
{
    const QDateTime start(QDate(2026, 1, 5), QTime(7, 48), Qt::UTC);
    const struct
    {
        double lastMinute;
        QString firstTick;
    } cases[] = {
        {61.0 * 1440, QStringLiteral("19 Jan")},    // fortnightly, from the start's midnight
        {180.0, QStringLiteral("5 Jan 08:00")},     // within a morning: times of day
        {800.0 * 1440, QStringLiteral("Jul 2026")}, // years long: first days of months
    };
    for (const auto &c : cases) {
        const auto ticks = chartaxis::timeTicks({0.0, c.lastMinute}, 8, start);
        ASSERT_FALSE(ticks.isEmpty());
        EXPECT_LE(ticks.size(), chartaxis::kMostTicks);
        EXPECT_EQ(ticks.first().text, c.firstTick) << c.lastMinute;
    }
    // Without a readable reference the axis keeps counting minutes.
    EXPECT_EQ(chartaxis::timeTicks({0.0, 100.0}, 5, std::nullopt).first().text, "0");
}

TEST(ChartScale, AFlatBaselineIsInControlUpToRounding)
{
    for (double (*value)(int) : {flatRate, noisyFlat}) {
        const ControlChart chart = chartOf({"flat", 40, value, std::nullopt});
        EXPECT_EQ(chart.verdict().level, Verdict::Level::InControl) << value(0);
    }
}
