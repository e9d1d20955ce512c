#include "quantize/reduce_pixels.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <random>

#include "quantize_fixtures.h"

namespace anitrope {
namespace {

using testing::Entry;
using testing::Rgb;

void SetTrueColor(Gif& gif, std::unique_ptr<TrueColorBitmap> pixels) {
    gif.width = static_cast<uint32_t>(pixels->Width());
    gif.height = static_cast<uint32_t>(pixels->Height());
    gif.trueColor = std::move(pixels);
}

std::unique_ptr<TrueColorBitmap> RandomPixels(unsigned seed, int32_t width, int32_t height) {
    std::mt19937 random(seed);
    auto pixels = std::make_unique<TrueColorBitmap>(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels->Set(x, y, static_cast<uint32_t>(random()) & 0xFFFFFF);
        }
    }
    return pixels;
}

TEST(ReducePixels, FailsWithoutTrueColorAndGivesNothingWhenAborted) {
    Gif gif(nullptr);
    SetIndexedReady(gif, 0);
    EXPECT_FALSE(ReducePixels(gif));
    EXPECT_EQ(IsIndexedReady(gif), 0);
    const std::atomic<bool> abort{true};
    EXPECT_FALSE(ReduceTrueColor(*testing::FilledBitmap(2, 2, 0x123456), {-1, -1, -1, -1, -1},
                                 &abort));
}

// The reduction itself touches no frame: the workers run it on a reference to the pixels.
TEST(ReducePixels, TheFrameGetsWhatThePureReductionGives) {
    const auto pixels = RandomPixels(4, 17, 9);
    const KeepColors keep{0x102030, -1, -1, -1, -1};
    const std::optional<ReductionResult> result = ReduceTrueColor(*pixels, keep);
    ASSERT_TRUE(result);
    ASSERT_TRUE(result->indexed);
    EXPECT_EQ(result->indexed->Width(), 17);
    EXPECT_EQ(result->transparent, 1);
    EXPECT_EQ(result->hasTransparentPixels, 0);
    EXPECT_EQ(result->palette[0], (PaletteEntry{0x10, 0x20, 0x30}));

    Gif gif(nullptr);
    gif.keepColors = keep;
    SetTrueColor(gif, RandomPixels(4, 17, 9));
    SetIndexedReady(gif, 0);
    const TrueColorBitmap* trueColor = gif.trueColor.get();
    ASSERT_TRUE(ReducePixels(gif));
    EXPECT_EQ(IsIndexedReady(gif), 1);
    EXPECT_EQ(gif.trueColor.get(), trueColor) << "the true colour stays";
    EXPECT_EQ(gif.palette, result->palette);
    EXPECT_EQ(gif.transparentIndex, result->transparentIndex);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 17; ++x)
            ASSERT_EQ(gif.indexed->Get(x, y), result->indexed->Get(x, y)) << x << "," << y;
}

TEST(ReducePixels, PaletteColoursMapBackExactly) {
    // 200 colours with even channels, which the palette keeps unchanged.
    std::mt19937 random(5);
    auto pixels = std::make_unique<TrueColorBitmap>(30, 20);
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 30; ++x) {
            const uint32_t i = static_cast<uint32_t>(random() % 200);
            pixels->Set(x, y, Rgb(i % 10 * 24, i / 10 * 12, i * 7 % 100 * 2));
        }
    }
    Gif gif(nullptr);
    gif.usesLocalPalette = 0;
    gif.indexed = std::make_unique<IndexedBitmap>(&gif, 2, 20);  // too narrow: replaced
    SetTrueColor(gif, std::move(pixels));
    ASSERT_TRUE(ReducePixels(gif));
    ASSERT_EQ(gif.indexed->Width(), 30);
    ASSERT_EQ(gif.indexed->Height(), 20);
    EXPECT_EQ(gif.usesLocalPalette, 1);
    EXPECT_EQ(gif.hasTransparentPixels, 0);
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 30; ++x) {
            const uint8_t index = gif.indexed->Get(x, y);
            ASSERT_LT(index, gif.transparentIndex);
            ASSERT_EQ(gif.palette[index], Entry(gif.trueColor->Get(x, y))) << x << "," << y;
        }
    }
}

TEST(ReducePixels, TransparentPixelsGetTheTransparentIndex) {
    Gif gif(nullptr);
    SetTrueColor(gif, testing::RowBitmap({0x204060, TransparentBit | 0x204060, 0x808080}));
    ASSERT_TRUE(ReducePixels(gif));
    EXPECT_EQ(gif.transparentIndex, 2);
    EXPECT_EQ(gif.indexed->Get(0, 0), 0);
    EXPECT_EQ(gif.indexed->Get(1, 0), 2);
    EXPECT_EQ(gif.indexed->Get(2, 0), 1);
    EXPECT_EQ(gif.hasTransparentPixels, 1);

    SetTrueColor(gif, testing::FilledBitmap(5, 4, TransparentBit));
    ASSERT_TRUE(ReducePixels(gif));
    EXPECT_EQ(gif.transparentIndex, 0);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(gif.indexed->Get(x, y), 0);
    }
}

TEST(ReducePixels, ColourDroppedForTransparencyMapsToTheNearestKeptOne) {
    // 256 colours, the last seen once and the others twice: the last yields its slot.
    std::vector<uint32_t> row;
    for (uint32_t i = 0; i < 256; ++i) row.push_back(Rgb(i / 16 * 16, i % 16 * 16, 64));
    for (uint32_t i = 0; i < 255; ++i) row.push_back(row[i]);
    Gif gif(nullptr);
    SetTrueColor(gif, testing::RowBitmap(row));
    ASSERT_TRUE(ReducePixels(gif));
    ASSERT_EQ(gif.transparentIndex, 255);
    EXPECT_TRUE(gif.palette[255].IsUnused());
    for (int i = 0; i < 255; ++i) ASSERT_EQ(gif.palette[i], Entry(row[i])) << "slot " << i;
    // (240, 240, 64) is gone; (240, 224, 64) and (224, 240, 64) are nearest.
    const PaletteEntry& e = gif.palette[gif.indexed->Get(255, 0)];
    EXPECT_EQ((e.red - 240) * (e.red - 240) + (e.green - 240) * (e.green - 240), 256);
    EXPECT_EQ(e.blue, 64);
}

TEST(ReducePixels, SameImageGivesTheSamePaletteAndIndices) {
    Gif first(nullptr), second(nullptr);
    SetTrueColor(first, RandomPixels(9, 50, 30));
    SetTrueColor(second, RandomPixels(9, 50, 30));
    ASSERT_TRUE(ReducePixels(first));
    ASSERT_TRUE(ReducePixels(second));
    EXPECT_EQ(first.transparentIndex, 255);
    EXPECT_EQ(first.palette, second.palette);
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 50; ++x) {
            ASSERT_EQ(first.indexed->Get(x, y), second.indexed->Get(x, y));
        }
    }
}

}  // namespace
}  // namespace anitrope
