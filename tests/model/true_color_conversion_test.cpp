#include "model/true_color_conversion.h"

#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;

class TrueColorConversion : public ::testing::Test {
  protected:
    void SetUp() override {
        gif = AppendFrame(doc, 3, 2);
        gif->palette[0] = PaletteEntry{0, 0, 0};
        gif->palette[1] = PaletteEntry{0x11, 0x22, 0x33};
        gif->palette[2] = PaletteEntry{0xFF, 0x80, 0x01};
        FillIndexed(*gif, {0, 1, 2, 2, 1, 0});
    }
    Animation doc;
    Gif* gif = nullptr;
};

TEST_F(TrueColorConversion, NullFrameReturnsZero) { EXPECT_EQ(MakeTrueColor(nullptr, true), 0); }

TEST_F(TrueColorConversion, ConvertsThroughTheLocalPalette) {
    EXPECT_EQ(MakeTrueColor(gif, false), 1);
    ASSERT_NE(gif->trueColor, nullptr);
    EXPECT_EQ(gif->trueColor->Get(0, 0), 0u);
    EXPECT_EQ(gif->trueColor->Get(1, 0), 0x112233u);
    EXPECT_EQ(gif->trueColor->Get(2, 0), 0xFF8001u);
    EXPECT_EQ(gif->trueColor->Get(0, 1), 0xFF8001u);
    EXPECT_EQ(gif->trueColor->Get(2, 1), 0u);
}

TEST_F(TrueColorConversion, TransparentBitExactlyOnTheTransparentIndex) {
    gif->transparent = 1;
    gif->transparentIndex = 2;
    MakeTrueColor(gif, false);
    EXPECT_EQ(gif->trueColor->Get(2, 0), 0xFF8001u | TransparentBit);
    EXPECT_EQ(gif->trueColor->Get(0, 1), 0xFF8001u | TransparentBit);
    EXPECT_EQ(gif->trueColor->Get(1, 0), 0x112233u);
    EXPECT_EQ(gif->trueColor->Get(0, 0), 0u);
    EXPECT_EQ(gif->trueColor->Get(1, 1), 0x112233u);
}

TEST_F(TrueColorConversion, TransparentIndexIgnoredWithoutTheFlag) {
    gif->transparentIndex = 2;
    MakeTrueColor(gif, false);
    EXPECT_EQ(gif->trueColor->Get(2, 0), 0xFF8001u);
}

TEST_F(TrueColorConversion, UsesTheGlobalPaletteWhenTheFrameHasNoLocalOne) {
    gif->usesLocalPalette = 0;
    doc.globalPalette[1] = PaletteEntry{1, 2, 3};  // global slots 0 and 2 stay unused
    MakeTrueColor(gif, false);
    EXPECT_EQ(gif->trueColor->Get(1, 0), 0x010203u);
    EXPECT_EQ(gif->trueColor->Get(2, 0), 0u);  // unused slot: black
}

TEST_F(TrueColorConversion, PendingLeavesTheIndexedPixelsStale) {
    MakeTrueColor(gif, true);
    EXPECT_EQ(IsIndexedReady(*gif), 0);
}

TEST_F(TrueColorConversion, NotPendingKeepsTheIndexedPixelsCurrent) {
    MakeTrueColor(gif, false);
    EXPECT_EQ(IsIndexedReady(*gif), 1);
}

TEST_F(TrueColorConversion, ExistingTrueColorIsKept) {
    testing::FillTrueColor(*gif, {0xABCDEF});
    SetIndexedReady(*gif, 1);
    EXPECT_EQ(MakeTrueColor(gif, false), 1);
    EXPECT_EQ(gif->trueColor->Get(0, 0), 0xABCDEFu);
    EXPECT_EQ(IsIndexedReady(*gif), 1);
    EXPECT_EQ(MakeTrueColor(gif, true), 1);  // pending still applies
    EXPECT_EQ(IsIndexedReady(*gif), 0);
    EXPECT_EQ(gif->trueColor->Get(0, 0), 0xABCDEFu);
}

TEST_F(TrueColorConversion, PixelsBeyondASmallerIndexedBitmapTakeIndexZero) {
    gif->palette[0] = PaletteEntry{5, 6, 7};
    gif->indexed = std::make_unique<IndexedBitmap>(gif, 1, 1);
    gif->indexed->Set(0, 0, 1);
    MakeTrueColor(gif, false);
    EXPECT_EQ(gif->trueColor->Get(0, 0), 0x112233u);
    EXPECT_EQ(gif->trueColor->Get(2, 1), 0x050607u);
}

}  // namespace
}  // namespace anitrope
