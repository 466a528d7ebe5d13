#include "transpec/core/SpectrumView.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace lumen::transpec;

namespace {
SpectrumView viewOf(std::vector<std::int32_t> counts)
{
    SpectrumView v;
    v.setCounts(counts);
    return v;
}
} // namespace

TEST(SpectrumView, TheTallestChannelInViewFillsTheHeight)
{
    std::vector<std::int32_t> counts(1024, 10);
    counts[100] = 300; // a real 300-count peak fills the height, not 3 % of it
    counts[900] = 50;
    SpectrumView v = viewOf(counts);
    EXPECT_EQ(v.heightOf(300), 1.0);
    const std::vector<double> columns = v.columnHeights(256); // 4 channels a column
    EXPECT_EQ(columns[25], 1.0) << "a peak between columns is kept";
    EXPECT_NEAR(columns[0], 10.0 / 300, 1e-12);
    v.zoomTo(800, 1000); // the peak leaves the view: the next tallest fills it
    EXPECT_EQ(v.heightOf(50), 1.0);
    v.setLogScale(true);
    EXPECT_NEAR(v.heightOf(10), std::log10(11.0) / std::log10(51.0), 1e-12);
    EXPECT_EQ(v.heightOf(0), 0.0);
    EXPECT_EQ(v.countTicks(5), (std::vector<double>{1, 10}));
}

TEST(SpectrumView, ZoomKeepsWithinTheSpectrumAndResets)
{
    SpectrumView v = viewOf(std::vector<std::int32_t>(2048, 1));
    v.zoomTo(600, 200);
    EXPECT_EQ(v.firstShown(), 200);
    EXPECT_EQ(v.shownCount(), 400);
    v.zoomAround(300, 0.5); // channel 300 stays where it was on the plot
    EXPECT_NEAR(v.xOf(300), 0.25, 1e-12);
    EXPECT_EQ(v.shownCount(), 200);
    v.zoomTo(2042, 2047); // narrower than the narrowest view, at the end
    EXPECT_EQ(v.shownCount(), SpectrumView::kNarrowestView);
    EXPECT_EQ(v.firstShown() + v.shownCount(), 2048);
    v.zoomAround(10, 1000); // widening stops at the whole spectrum
    EXPECT_FALSE(v.zoomed());
    v.zoomTo(1, 9);
    v.resetZoom();
    EXPECT_FALSE(v.zoomed());
}

TEST(SpectrumView, EnergyAxisAndReadoutFollowTheCalibration)
{
    std::vector<std::int32_t> counts(1024, 0);
    counts[512] = 77;
    SpectrumView v = viewOf(counts);
    EXPECT_FALSE(v.hasEnergyAxis());
    EXPECT_EQ(v.readout(0.5), "Channel 512  Counts 77");
    v.setCalibration({1.0, 0.5, 0.001, 0.0});
    EXPECT_TRUE(v.hasEnergyAxis());
    EXPECT_EQ(v.readout(0.5), "Channel 512  519.14 keV  Counts 77");
    v.setEnergyUnit("ns");
    EXPECT_EQ(v.readout(0.5), "Channel 512  519.14 ns  Counts 77");
    EXPECT_FALSE(viewOf(std::vector<std::int32_t>(127, 1)).drawable());
}

TEST(SpectrumView, TicksAreRoundNumbers)
{
    EXPECT_EQ(SpectrumView::linearTicks(0, 1000, 5),
              (std::vector<double>{0, 200, 400, 600, 800, 1000}));
    EXPECT_EQ(SpectrumView::linearTicks(13, 61, 4), (std::vector<double>{20, 40, 60}));
    EXPECT_TRUE(SpectrumView::linearTicks(5, 5, 4).empty());
}

// Zoomed to a few channels, the labels stay whole channels, and energy labels
// close together keep the digits that tell them apart.
TEST(SpectrumView, TicksStayReadableWhenZoomed)
{
    SpectrumView v = viewOf(std::vector<std::int32_t>(4096, 1));
    v.zoomTo(100, 108);
    const std::vector<double> ticks = v.channelTicks(12);
    ASSERT_FALSE(ticks.empty());
    for (const double t : ticks)
        EXPECT_EQ(t, std::round(t));
    EXPECT_EQ(SpectrumView::tickText(661.65, 0.05), "661.65");
    EXPECT_EQ(SpectrumView::tickText(661.6, 0.2), "661.6");
    EXPECT_EQ(SpectrumView::tickText(1500, 500), "1500");
}
