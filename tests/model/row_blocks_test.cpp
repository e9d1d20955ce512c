#include "model/row_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace anitrope {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int64_t kHugeWidth = std::numeric_limits<int64_t>::max() / 8;

TEST(RowBlocks, StrideRoundsRowsUpToFourBytes) {
    EXPECT_EQ(PaddedStride24(0), 0u);
    EXPECT_EQ(PaddedStride24(1), 4u);
    EXPECT_EQ(PaddedStride24(4), 12u);
    EXPECT_EQ(PaddedStride24(5), 16u);
    EXPECT_FALSE(PaddedStride24(-1));
    EXPECT_FALSE(PaddedStride24(kHugeWidth));
}

TEST(RowBlocks, PadRowsCopiesEachRowAndZeroesThePadding) {
    const Bytes packed{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const auto padded = PadRows24(packed, 2, 2);
    ASSERT_TRUE(padded);
    EXPECT_EQ(*padded, (Bytes{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
}

TEST(RowBlocks, PadRowsRefusesNullShortAndOverflowingInput) {
    const Bytes packed(12, 1);
    EXPECT_FALSE(PadRows24({}, 2, 2));
    EXPECT_FALSE(PadRows24(std::span(packed).first(11), 2, 2));
    EXPECT_FALSE(PadRows24(packed, 2, -1));
    EXPECT_FALSE(PadRows24(packed, -2, 2));
    EXPECT_FALSE(PadRows24(packed, kHugeWidth, 1));
    EXPECT_FALSE(PadRows24(packed, 1, std::numeric_limits<int64_t>::max()));
}

TEST(RowBlocks, PadRowsOfNoRowsIsEmpty) {
    const Bytes packed(3, 1);
    const auto padded = PadRows24(packed, 1, 0);
    ASSERT_TRUE(padded);
    EXPECT_TRUE(padded->empty());
}

TEST(RowBlocks, FlipOddRowCountKeepsTheMiddleRow) {
    Bytes block{1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(FlipRows(block, 2, 3));
    EXPECT_EQ(block, (Bytes{5, 6, 3, 4, 1, 2}));
}

TEST(RowBlocks, FlipEvenRowCountSwapsAllPairs) {
    Bytes block{1, 2, 3, 4};
    EXPECT_TRUE(FlipRows(block, 1, 4));
    EXPECT_EQ(block, (Bytes{4, 3, 2, 1}));
}

TEST(RowBlocks, FlipOfOneOrNoRowsChangesNothing) {
    Bytes block{1, 2, 3};
    EXPECT_TRUE(FlipRows(block, 3, 1));
    EXPECT_TRUE(FlipRows(block, 3, 0));
    EXPECT_EQ(block, (Bytes{1, 2, 3}));
}

TEST(RowBlocks, FlipRefusesNullAndShortBlocks) {
    Bytes block{1, 2, 3, 4, 5};
    EXPECT_FALSE(FlipRows({}, 2, 2));
    EXPECT_FALSE(FlipRows(block, 2, 3));
    EXPECT_FALSE(FlipRows(block, std::numeric_limits<std::size_t>::max(), 2));
    EXPECT_EQ(block, (Bytes{1, 2, 3, 4, 5}));
}

TEST(RowBlocks, SwapRedBlueWorksPerPixelAndSkipsPadding) {
    Bytes data{1, 2, 3, 4, 5, 6, 90, 91, 7, 8, 9, 10, 11, 12, 92, 93};
    EXPECT_TRUE(SwapRedBlue24(data, 2, 2));
    EXPECT_EQ(data, (Bytes{3, 2, 1, 6, 5, 4, 90, 91, 9, 8, 7, 12, 11, 10, 92, 93}));
}

TEST(RowBlocks, SwapRedBlueAcceptsAnUnpaddedLastRow) {
    Bytes data{1, 2, 3, 0, 4, 5, 6};
    EXPECT_TRUE(SwapRedBlue24(data, 1, 2));
    EXPECT_EQ(data, (Bytes{3, 2, 1, 0, 6, 5, 4}));
}

TEST(RowBlocks, SwapRedBlueRefusesNullShortAndNegative) {
    Bytes data{1, 2, 3, 0, 4, 5};
    EXPECT_FALSE(SwapRedBlue24({}, 1, 1));
    EXPECT_FALSE(SwapRedBlue24(data, 1, 2));
    EXPECT_FALSE(SwapRedBlue24(data, -1, 1));
    EXPECT_FALSE(SwapRedBlue24(data, 1, -1));
    EXPECT_FALSE(SwapRedBlue24(data, kHugeWidth, 1));
    EXPECT_EQ(data, (Bytes{1, 2, 3, 0, 4, 5}));
}

}  // namespace
}  // namespace anitrope
