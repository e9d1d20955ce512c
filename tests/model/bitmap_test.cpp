#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "model/indexed_bitmap.h"
#include "model/true_color_bitmap.h"

namespace anitrope {
namespace {

constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();
using Size = std::pair<int32_t, int32_t>;

TEST(IndexedBitmap, RowsArePaddedToFourBytesAndStartZeroed) {
    IndexedBitmap b(nullptr, 5, 3);
    ASSERT_TRUE(b.HasRows());
    EXPECT_EQ(b.Stride(), 8);
    EXPECT_EQ(b.Row(1) - b.Row(0), 8);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(b.Get(x, y), 0) << x << "," << y;
}

TEST(IndexedBitmap, PixelsAreIndependent) {
    IndexedBitmap b(nullptr, 5, 2);
    b.Set(4, 0, 7);
    b.Set(0, 1, 9);
    EXPECT_EQ(b.Get(4, 0), 7);
    EXPECT_EQ(b.Get(0, 1), 9);
    EXPECT_EQ(b.Get(3, 0), 0);
    EXPECT_EQ(b.Get(1, 1), 0);
}

TEST(IndexedBitmap, StrideForRoundsUp) {
    EXPECT_EQ(IndexedBitmap::StrideFor(0), 0);
    EXPECT_EQ(IndexedBitmap::StrideFor(1), 4);
    EXPECT_EQ(IndexedBitmap::StrideFor(4), 4);
    EXPECT_EQ(IndexedBitmap::StrideFor(13), 16);
}

TEST(IndexedBitmap, RefusedSizesHaveNoRowsAndIgnoreAccess) {
    for (auto [w, h] : {Size{0, 5}, Size{5, 0}, Size{-3, 2}, Size{16385, 1}, Size{kHuge, 1}}) {
        IndexedBitmap b(nullptr, w, h);
        EXPECT_FALSE(b.HasRows()) << w << "x" << h;
        EXPECT_EQ(b.Row(0), nullptr);
        b.Set(0, 0, 3);
        EXPECT_EQ(b.Get(0, 0), 0);
    }
}

TEST(IndexedBitmap, HugeWidthDoesNotOverflowTheStride) {
    EXPECT_GT(IndexedBitmap::StrideFor(kHuge), 0);
    EXPECT_EQ(IndexedBitmap::StrideFor(kHuge) % 4, 0);
}

TEST(TrueColorBitmap, RowsAreContiguousAndStartZeroed) {
    TrueColorBitmap b(3, 2);
    ASSERT_TRUE(b.HasRows());
    EXPECT_EQ(b.Row(1) - b.Row(0), 3);
    b.Set(2, 0, 0x123456 | TransparentBit);
    b.Set(0, 1, 0xABCDEF);
    EXPECT_EQ(b.Get(2, 0), 0x123456 | TransparentBit);
    EXPECT_EQ(b.Get(0, 1), 0xABCDEFu);
    EXPECT_EQ(b.Get(1, 0), 0u);
    EXPECT_EQ(b.Get(1, 1), 0u);
}

TEST(TrueColorBitmap, RefusedSizesHaveNoRowsAndIgnoreAccess) {
    for (auto [w, h] : {Size{0, 1}, Size{1, -1}, Size{16384, 16384}, Size{kHuge, kHuge}}) {
        TrueColorBitmap b(w, h);
        EXPECT_FALSE(b.HasRows()) << w << "x" << h;
        b.Set(0, 0, 5);
        EXPECT_EQ(b.Get(0, 0), 0u);
    }
}

}  // namespace
}  // namespace anitrope
