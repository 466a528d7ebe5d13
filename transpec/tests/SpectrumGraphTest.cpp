#include "transpec/core/SpectrumGraph.h"

#include <gtest/gtest.h>

using namespace lumen;
using namespace lumen::transpec;

TEST(SpectrumGraph, FewerThan128ChannelsDrawNothing)
{
    ChannelStore store;
    store.set(0, 10);
    EXPECT_TRUE(SpectrumGraph::lines(store, 127).empty());
    EXPECT_EQ(SpectrumGraph::lines(store, 128).size(), 1u);
}

TEST(SpectrumGraph, OnlyPositiveCountsAreDrawnFromTheBaseline)
{
    ChannelStore store;
    store.set(0, 50);
    store.set(1, -4);
    store.set(3, 100);
    const auto lines = SpectrumGraph::lines(store, 1000, 1000.0, 400.0);
    ASSERT_EQ(lines.size(), 2u);
    // b = 4, s = 1, maximum 100 fits: k = 1.
    EXPECT_DOUBLE_EQ(lines[0].x, 0.0);
    EXPECT_DOUBLE_EQ(lines[0].yBase, 396.0);
    EXPECT_DOUBLE_EQ(lines[0].yTop, 400.0 - (50.0 + 4.0));
    EXPECT_DOUBLE_EQ(lines[1].x, 3.0);
    EXPECT_DOUBLE_EQ(lines[1].yTop, 400.0 - 104.0);
}

TEST(SpectrumGraph, TallSpectraAreScaledInStepsOfNinePercent)
{
    ChannelStore store;
    store.set(200, 1000000);
    const auto lines = SpectrumGraph::lines(store, 256, 16384.0, 10000.0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0].x, 200.0 * 64.0);
    double k = 1.0;
    while (k * (100.0 + 1000000.0) > 10000.0)
        k *= 0.9;
    EXPECT_DOUBLE_EQ(lines[0].yTop, 10000.0 - (k * 1000000.0 + 100.0));
    EXPECT_GE(lines[0].yTop, 0.0) << "the tallest line stays inside the area";
}

TEST(SpectrumGraph, PowerOfTwoSpectraFillTheWidth)
{
    ChannelStore store;
    for (int i = 0; i < ChannelStore::kCapacity; ++i)
        store.set(i, 1);
    for (int n : {256, 1024, 16384}) {
        const auto lines = SpectrumGraph::lines(store, n);
        ASSERT_EQ(int(lines.size()), n);
        EXPECT_DOUBLE_EQ(lines.back().x + SpectrumGraph::kWidth / n, SpectrumGraph::kWidth);
    }
    EXPECT_EQ(SpectrumGraph::lines(store, 30000).size(), 16384u) << "cut to the store";
}
