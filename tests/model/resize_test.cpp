#include "model/resize.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame_fixtures.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;
using testing::FillTrueColor;
using Pixels = std::vector<uint32_t>;

Pixels IndexedRow(const Gif& gif, int32_t y) {
    Pixels out;
    for (int32_t x = 0; x < gif.indexed->Width(); ++x) out.push_back(gif.indexed->Get(x, y));
    return out;
}

Pixels TrueColorRow(const Gif& gif, int32_t y) {
    Pixels out;
    for (int32_t x = 0; x < gif.trueColor->Width(); ++x) out.push_back(gif.trueColor->Get(x, y));
    return out;
}

Pixels TrueColorColumn(const Gif& gif, int32_t x) {
    Pixels out;
    for (int32_t y = 0; y < gif.trueColor->Height(); ++y) out.push_back(gif.trueColor->Get(x, y));
    return out;
}

class ResizeNearest : public ::testing::Test {
  protected:
    Animation doc;
};

TEST_F(ResizeNearest, DoublingTheWidthRepeatsEveryColumn) {
    Gif* g = AppendFrame(doc, 3, 2);
    FillIndexed(*g, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(ResizeGif(*g, 6, 2, false, true));
    EXPECT_EQ(g->width, 6u);
    EXPECT_EQ(g->height, 2u);
    EXPECT_EQ(IndexedRow(*g, 0), (Pixels{1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(IndexedRow(*g, 1), (Pixels{4, 4, 5, 5, 6, 6}));
    EXPECT_EQ(g->indexed->Owner(), g);
}

TEST_F(ResizeNearest, ShrinkingSamplesWithTheStepsSummed) {
    Gif* g = AppendFrame(doc, 4, 3);
    FillIndexed(*g, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(ResizeGif(*g, 3, 2, false, true));  // steps 4/3 across, 3/2 down
    EXPECT_EQ(IndexedRow(*g, 0), (Pixels{1, 2, 3}));
    EXPECT_EQ(IndexedRow(*g, 1), (Pixels{5, 6, 7}));
}

TEST_F(ResizeNearest, OddEnlargementStaysInsideTheSource) {
    Gif* g = AppendFrame(doc, 3, 1);
    FillIndexed(*g, {1, 2, 3});
    ASSERT_TRUE(ResizeGif(*g, 7, 3, false, true));
    EXPECT_EQ(IndexedRow(*g, 0), (Pixels{1, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(IndexedRow(*g, 2), IndexedRow(*g, 0));
}

TEST_F(ResizeNearest, LeavesPaletteTrueColorAndReadinessAlone) {
    Gif* g = AppendFrame(doc, 2, 2);
    g->palette[3] = PaletteEntry{1, 2, 3};
    FillTrueColor(*g, {0xABCDEF});
    const TrueColorBitmap* trueColor = g->trueColor.get();
    ASSERT_TRUE(ResizeGif(*g, 4, 4, false, false));
    EXPECT_EQ(g->trueColor.get(), trueColor);
    EXPECT_EQ(g->trueColor->Width(), 2);
    EXPECT_EQ(g->palette[3], (PaletteEntry{1, 2, 3}));
    EXPECT_EQ(IsIndexedReady(*g), 0);
    EXPECT_EQ(g->left, 0);
}

TEST_F(ResizeNearest, FrameWithoutPixelsBecomesZeroes) {
    Gif* g = AppendFrame(doc, 2, 2);
    g->indexed.reset();
    ASSERT_TRUE(ResizeGif(*g, 3, 1, false, true));
    EXPECT_EQ(IndexedRow(*g, 0), (Pixels{0, 0, 0}));
}

TEST_F(ResizeNearest, RefusesSizesThatAreNotPositiveOrTooLarge) {
    Gif* g = AppendFrame(doc, 2, 2);
    g->indexed->Set(0, 0, 7);
    for (auto [w, h] :
         {std::pair{0, 2}, std::pair{2, -1}, std::pair{16385, 1}, std::pair{16384, 16384}}) {
        EXPECT_FALSE(ResizeGif(*g, w, h, false, true)) << w << "x" << h;
        EXPECT_FALSE(ResizeGif(*g, w, h, true, false)) << w << "x" << h;
    }
    EXPECT_EQ(g->width, 2u);
    EXPECT_EQ(g->indexed->Get(0, 0), 7);
    EXPECT_EQ(g->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*g), 1);
}

class ResizeSmooth : public ::testing::Test {
  protected:
    // A frame of the given size whose true colour holds `pixels`, row by row.
    Gif* Frame(uint32_t w, uint32_t h, std::initializer_list<uint32_t> pixels) {
        Gif* g = AppendFrame(doc, w, h);
        FillTrueColor(*g, pixels);
        return g;
    }
    Animation doc;
};

TEST_F(ResizeSmooth, EnlargingRampsTowardTheNextPixel) {
    Gif* g = Frame(2, 1, {0x000000, 0x6496C8});
    ASSERT_TRUE(ResizeGif(*g, 4, 1, true, true));
    // The last source pixel has nothing to ramp toward and repeats.
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{0x000000, 0x324B64, 0x6496C8, 0x6496C8}));
}

TEST_F(ResizeSmooth, EnlargingDownwardsRampsAlongColumns) {
    Gif* g = Frame(1, 2, {0xC80000, 0x000000});
    ASSERT_TRUE(ResizeGif(*g, 1, 5, true, true));  // factor 2.5: three copies per pixel
    // 200 - 80 k for the first pixel's copies; the second pixel's first copy lands on the
    // third one's place (trunc(1 * 2.5) = 2) and overwrites it.
    EXPECT_EQ(TrueColorColumn(*g, 0), (Pixels{0xC80000, 0x780000, 0, 0, 0}));
}

TEST_F(ResizeSmooth, NonIntegerEnlargementLetsLaterPixelsOverwrite) {
    Gif* g = Frame(2, 1, {0x000000, 0x000064});
    ASSERT_TRUE(ResizeGif(*g, 3, 1, true, true));
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{0x000000, 0x000064, 0x000064}));
}

TEST_F(ResizeSmooth, EnlargingATransparentPixelGivesTransparentPixels) {
    Gif* g = Frame(2, 1, {0x102030 | TransparentBit, 0x0000FF});
    ASSERT_TRUE(ResizeGif(*g, 4, 1, true, true));
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{TransparentBit, TransparentBit, 0xFF, 0xFF}));
}

TEST_F(ResizeSmooth, ShrinkingABoxWithATransparentPixelMakesItTransparent) {
    Gif* g = Frame(4, 1, {0x0A0A0A, 0x141414 | TransparentBit, 0x1E1E1E, 0x323232});
    ASSERT_TRUE(ResizeGif(*g, 2, 1, true, true));
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{TransparentBit, 0x282828}));
}

TEST_F(ResizeSmooth, ShrinkingAveragesBoxesAndClipsTheLastOne) {
    Gif* g = Frame(5, 1, {0x010203, 0x020304, 0x060708, 0x646464, 0x0A0A0A});
    // Factor 0.4: boxes of round(2.5) = 3, the last one holding two pixels.
    ASSERT_TRUE(ResizeGif(*g, 2, 1, true, true));
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{0x030405, 0x373737}));
}

TEST_F(ResizeSmooth, ShrinkingVerticallyAveragesColumns) {
    Gif* g = Frame(2, 2, {0x000010, 0x100000, 0x000021, 0x300000});
    ASSERT_TRUE(ResizeGif(*g, 2, 1, true, true));
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{0x000018, 0x200000}));  // truncated means
}

TEST_F(ResizeSmooth, ConvertsIndexedPixelsWhenThereIsNoTrueColor) {
    Gif* g = AppendFrame(doc, 2, 1);
    g->palette[1] = PaletteEntry{0, 0, 100};
    FillIndexed(*g, {0, 1});
    g->palette[0] = PaletteEntry{0, 0, 0};
    ASSERT_TRUE(ResizeGif(*g, 4, 2, true, true));
    EXPECT_EQ(TrueColorRow(*g, 0), (Pixels{0, 50, 100, 100}));
    EXPECT_EQ(TrueColorRow(*g, 1), TrueColorRow(*g, 0));
}

TEST_F(ResizeSmooth, LeavesTheFramePendingWithABlankIndexedBitmap) {
    Gif* g = Frame(2, 2, {1, 2, 3, 4});
    g->indexed->Set(0, 0, 9);
    g->left = 3;
    ASSERT_TRUE(ResizeGif(*g, 3, 5, true, true));
    EXPECT_EQ(g->width, 3u);
    EXPECT_EQ(g->height, 5u);
    EXPECT_EQ(g->left, 3);  // keepOrigin: the position stays
    EXPECT_EQ(g->trueColor->Width(), 3);
    EXPECT_EQ(g->trueColor->Height(), 5);
    ASSERT_NE(g->indexed, nullptr);
    EXPECT_EQ(g->indexed->Width(), 3);
    EXPECT_EQ(g->indexed->Height(), 5);
    EXPECT_EQ(g->indexed->Owner(), g);
    EXPECT_EQ(g->indexed->Get(0, 0), 0);
    EXPECT_EQ(IsIndexedReady(*g), 0);
}

TEST_F(ResizeSmooth, RefusesAFrameWithoutArea) {
    Gif* g = AppendFrame(doc, 0, 3);
    EXPECT_FALSE(ResizeGif(*g, 2, 2, true, true));
    EXPECT_EQ(g->width, 0u);
    EXPECT_EQ(g->trueColor, nullptr);
}

}  // namespace
}  // namespace anitrope
