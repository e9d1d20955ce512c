// Interlaced images store rows in four passes (GIF89a appendix E): every 8th row from 0,
// every 8th from 4, every 4th from 2, every 2nd from 1. Small heights leave passes empty.

#include <gtest/gtest.h>

#include <vector>

#include "support/gif_builder.h"
#include "support/gif_loading.h"

namespace anitrope::test {
namespace {

// Reads an interlaced 3-pixel-wide image whose stored row k is filled with k, and returns
// for each display row the stored row that landed there.
std::vector<int> StoredRowPerDisplayRow(uint16_t height) {
    constexpr uint16_t kWidth = 3;
    std::vector<uint8_t> stored;
    for (int k = 0; k < height; ++k) stored.insert(stored.end(), kWidth, static_cast<uint8_t>(k));
    GifBuilder gif;
    gif.Header().Screen({.width = kWidth, .height = height, .globalColors = DistinctColors(256)});
    gif.Descriptor({.width = kWidth, .height = height, .interlaced = true});
    gif.CodeStreamData(8, LzwEncode(stored, 8).Pack()).Trailer();
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    EXPECT_EQ(load.status, GifReadStatus::Ok);
    if (load.status != GifReadStatus::Ok) return {};
    const Gif& frame = load.Frame(0);
    EXPECT_EQ(frame.interlaced, 1u);
    std::vector<int> rows;
    const std::vector<int> pixels = FrameIndices(frame);
    for (int y = 0; y < height; ++y) {
        const auto at = static_cast<std::size_t>(y * kWidth);
        EXPECT_EQ(pixels[at], pixels[at + kWidth - 1]) << "display row " << y << " is mixed";
        rows.push_back(pixels[at]);
    }
    return rows;
}

TEST(GifReaderInterlace, TenRowsFillPassByPass) {
    // Stored order: 0 8 | 4 | 2 6 | 1 3 5 7 9.
    EXPECT_EQ(StoredRowPerDisplayRow(10), (std::vector<int>{0, 5, 3, 6, 2, 7, 4, 8, 1, 9}));
}

TEST(GifReaderInterlace, HeightsWithEmptyPassesPlaceRowsCorrectly) {
    EXPECT_EQ(StoredRowPerDisplayRow(1), (std::vector<int>{0}));
    EXPECT_EQ(StoredRowPerDisplayRow(2), (std::vector<int>{0, 1}));           // 0 | - | - | 1
    EXPECT_EQ(StoredRowPerDisplayRow(3), (std::vector<int>{0, 2, 1}));        // 0 | - | 2 | 1
    EXPECT_EQ(StoredRowPerDisplayRow(4), (std::vector<int>{0, 2, 1, 3}));     // 0 | - | 2 | 1 3
    EXPECT_EQ(StoredRowPerDisplayRow(5), (std::vector<int>{0, 3, 2, 4, 1}));  // 0 | 4 | 2 | 1 3
    EXPECT_EQ(StoredRowPerDisplayRow(8),
              (std::vector<int>{0, 4, 2, 5, 1, 6, 3, 7}));  // 0 | 4 | 2 6 | 1 3 5 7
}

TEST(GifReaderInterlace, DisplayOrderRoundTripsForManyHeights) {
    // Up to two full cycles of eight rows plus every remainder.
    for (uint16_t height = 1; height <= 25; ++height) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        const std::vector<uint8_t> pixels = CountingPixels(std::size_t{5} * height, 256, height);
        GifBuilder gif;
        gif.Header().Screen({.width = 5, .height = height, .globalColors = DistinctColors(256)});
        gif.Image({.width = 5, .height = height, .interlaced = true}, pixels).Trailer();
        GifLoad load = ReadIntoNewAnimation(gif.Bytes());
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
    }
}

TEST(GifReaderInterlace, ShortInterlacedDataLeavesLaterPassesZero) {
    // Only the first two stored rows arrive: display rows 0 and 8; the rest stay 0.
    std::vector<uint8_t> stored(2 * 4, 7);
    GifBuilder gif;
    gif.Header().Screen({.width = 4, .height = 10, .globalColors = DistinctColors(8)});
    gif.Descriptor({.width = 4, .height = 10, .interlaced = true});
    gif.CodeStreamData(3, LzwEncode(stored, 3).Pack()).Trailer();
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    std::vector<uint8_t> expected(4 * 10, 0);
    for (int x = 0; x < 4; ++x) expected[static_cast<std::size_t>(x)] = expected[32u + x] = 7;
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));
}

TEST(GifReaderInterlace, InterlaceFlagIsPerImage) {
    const std::vector<uint8_t> pixels = CountingPixels(4 * 9, 16);
    GifBuilder gif;
    gif.Header().Screen({.width = 4, .height = 9, .globalColors = DistinctColors(16)});
    gif.Image({.width = 4, .height = 9, .interlaced = true}, pixels);
    gif.Image({.width = 4, .height = 9}, pixels).Trailer();
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    ASSERT_EQ(load.FrameCount(), 2u);
    EXPECT_EQ(load.Frame(0).interlaced, 1u);
    EXPECT_EQ(load.Frame(1).interlaced, 0u);
    EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
    EXPECT_TRUE(HasPixels(load.Frame(1), pixels));
}

}  // namespace
}  // namespace anitrope::test
