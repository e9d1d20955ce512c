#include "quantize/color_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace anitrope {
namespace {

using Metric = ColorTree::Metric;

int64_t Distance(const PaletteEntry& e, int r, int g, int b, Metric metric) {
    const int64_t dr = e.red - r, dg = e.green - g, db = e.blue - b;
    if (metric == Metric::SquaredDistance) return dr * dr + dg * dg + db * db;
    return std::max({dr * dr, dg * dg, db * db});
}

std::vector<int> FirstIndices(int count) {
    std::vector<int> points(static_cast<size_t>(count));
    std::iota(points.begin(), points.end(), 0);
    return points;
}

// Channels drawn from `levels` values 0, step, 2*step...: few levels make exact ties common.
Palette RandomPalette(std::mt19937& random, int size, int levels, int step) {
    Palette palette = EmptyPalette();
    std::uniform_int_distribution<int> level(0, levels - 1);
    for (int i = 0; i < size; ++i) {
        palette[i] = {level(random) * step, level(random) * step, level(random) * step};
    }
    return palette;
}

TEST(ColorTree, FindsTheNearestEntryOfRandomPalettes) {
    struct Case {
        Metric metric;
        int levels, step;
    };
    std::mt19937 random(1);
    std::uniform_int_distribution<int> channel(0, 255);
    const Case cases[] = {{Metric::SquaredDistance, 256, 1}, {Metric::SquaredDistance, 4, 85},
                          {Metric::MaxChannelSquared, 256, 1}, {Metric::MaxChannelSquared, 3, 127}};
    for (const Case& c : cases) {
        for (int size : {1, 5, 6, 7, 50, 255}) {
            const Palette palette = RandomPalette(random, size, c.levels, c.step);
            ColorTree tree(c.metric);
            tree.Build(FirstIndices(size), palette);
            for (int q = 0; q < 3000; ++q) {
                const int r = channel(random), g = channel(random), b = channel(random);
                int64_t best = std::numeric_limits<int64_t>::max();
                for (int p = 0; p < size; ++p) {
                    best = std::min(best, Distance(palette[p], r, g, b, c.metric));
                }
                const int found = tree.NearestColor(r, g, b);
                ASSERT_TRUE(found >= 0 && found < size) << found;
                ASSERT_EQ(Distance(palette[found], r, g, b, c.metric), best)
                    << "levels " << c.levels << " size " << size << " at " << r << "," << g
                    << "," << b;
            }
        }
    }
}

TEST(ColorTree, AnswersOnlyWithTheGivenIndicesFirstOneWinningTies) {
    Palette palette = EmptyPalette();
    palette[0] = {10, 10, 10};
    palette[2] = {10, 10, 10};
    palette[4] = {10, 10, 10};
    palette[6] = {30, 30, 30};
    ColorTree tree;
    tree.Build(std::vector<int>{4, 2, 6}, palette);
    EXPECT_EQ(tree.NearestColor(12, 9, 10), 4);
    EXPECT_EQ(tree.NearestColor(20, 20, 20), 4);  // halfway between the 10s and the 30s
    EXPECT_EQ(tree.NearestColor(29, 29, 29), 6);
}

TEST(ColorTree, SplitsOnlySixOrMoreDistinctEntries) {
    ColorTree tree;
    EXPECT_EQ(tree.NodeCount(), 0);
    EXPECT_EQ(tree.NearestColor(1, 2, 3), 0);

    std::mt19937 random(11);
    const Palette palette = RandomPalette(random, 50, 256, 1);
    tree.Build(FirstIndices(5), palette);
    EXPECT_EQ(tree.NodeCount(), 1);
    tree.Build(FirstIndices(6), palette);
    EXPECT_GT(tree.NodeCount(), 1);

    Palette same = EmptyPalette();
    std::fill_n(same.begin(), 50, PaletteEntry{7, 7, 7});
    tree.Build(FirstIndices(50), same);
    EXPECT_EQ(tree.NodeCount(), 1);  // no spread to split on
    tree.Build(std::vector<int>{}, same);
    EXPECT_EQ(tree.NodeCount(), 0);
}

}  // namespace
}  // namespace anitrope
