#include "model/drawing.h"

#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "model/gif.h"
#include "model/screen_image.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;

constexpr uint32_t kBackground = 0xEEEEEE;

// A 3 x 2 frame whose index i draws colour 0x0000ii (slot 0 is black).
class DrawIndexedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gif = AppendFrame(doc, 3, 2);
        for (int i = 0; i < 7; ++i) gif->palette[i] = PaletteEntry{0, 0, i};
        FillIndexed(*gif, {1, 2, 3, 4, 5, 6});
    }
    Animation doc;
    Gif* gif = nullptr;
    ScreenImage screen{4, 4, kBackground};
};

TEST_F(DrawIndexedTest, DrawsAtThePosition) {
    EXPECT_EQ(DrawIndexed(*gif, screen, 1, 2), 1);
    EXPECT_EQ(screen.Get(1, 2), 1u);
    EXPECT_EQ(screen.Get(3, 3), 6u);
    EXPECT_EQ(screen.Get(0, 2), kBackground);
    EXPECT_EQ(screen.Get(1, 1), kBackground);
}

TEST_F(DrawIndexedTest, ClipsAtNegativeOffsets) {
    DrawIndexed(*gif, screen, -1, -1);
    EXPECT_EQ(screen.Get(0, 0), 5u);
    EXPECT_EQ(screen.Get(1, 0), 6u);
    EXPECT_EQ(screen.Get(2, 0), kBackground);
    EXPECT_EQ(screen.Get(0, 1), kBackground);
}

TEST_F(DrawIndexedTest, ClipsAtTheFarEdges) {
    DrawIndexed(*gif, screen, 3, 3);
    EXPECT_EQ(screen.Get(3, 3), 1u);
    EXPECT_EQ(screen.Get(2, 3), kBackground);
    EXPECT_EQ(screen.Get(3, 2), kBackground);
}

TEST_F(DrawIndexedTest, EntirelyOutsideDrawsNothing) {
    for (auto [x, y] : {std::pair<int64_t, int64_t>{4, 0},
                        {0, 4},
                        {-3, 0},
                        {0, -2},
                        {INT64_MAX / 2, 0},
                        {INT64_MIN / 2, INT64_MIN / 2}})
        DrawIndexed(*gif, screen, x, y);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(screen.Get(x, y), kBackground);
}

TEST_F(DrawIndexedTest, FrameWithoutPixelsDrawsNothing) {
    gif->indexed.reset();
    EXPECT_EQ(DrawIndexed(*gif, screen, 0, 0), 0);
    EXPECT_EQ(DrawIndexedOver(*gif, screen, 0, 0, 1), 0);
    EXPECT_EQ(screen.Get(0, 0), kBackground);
}

TEST_F(DrawIndexedTest, OwnPaletteDecidesUnusedSlotsEvenUnderTheGlobalOne) {
    gif->usesLocalPalette = 0;
    doc.globalPalette[1] = PaletteEntry{0xFF, 0, 0};
    doc.globalPalette[2] = PaletteEntry{0, 0xFF, 0};
    gif->palette[1] = PaletteEntry{};  // unused in the frame's own palette
    DrawIndexed(*gif, screen, 0, 0);
    EXPECT_EQ(screen.Get(0, 0), 0u);         // black, although the global slot is red
    EXPECT_EQ(screen.Get(1, 0), 0x00FF00u);  // the global colour, not the local 0x000002
    EXPECT_EQ(screen.Get(2, 0), 0u);         // global slot 3 unused: black
}

TEST(DrawTrueColor, DropsTheTransparencyBitAndClips) {
    TrueColorBitmap bitmap(2, 2);
    bitmap.Set(0, 0, 0x112233 | TransparentBit);
    bitmap.Set(1, 0, 0x445566);
    bitmap.Set(0, 1, 0x778899);
    bitmap.Set(1, 1, 0xAABBCC);
    ScreenImage screen(2, 2, kBackground);
    DrawTrueColor(bitmap, screen, 0, 0);
    EXPECT_EQ(screen.Get(0, 0), 0x112233u);
    EXPECT_EQ(screen.Get(1, 1), 0xAABBCCu);
    screen.Fill(kBackground);
    DrawTrueColor(bitmap, screen, 1, -1);
    EXPECT_EQ(screen.Get(1, 0), 0x778899u);
    EXPECT_EQ(screen.Get(0, 0), kBackground);
    EXPECT_EQ(screen.Get(1, 1), kBackground);
}

class DrawCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 2; ++x)
                screen.Set(x, y, 0xAB000000u | static_cast<uint32_t>(y * 16 + x));
    }
    ScreenImage screen{2, 3};
};

TEST_F(DrawCapture, TopDownCopiesRowsInOrder) {
    TrueColorBitmap bitmap(2, 3);
    CaptureTrueColor(bitmap, screen, false);
    EXPECT_EQ(bitmap.Get(0, 0), 0x00u);
    EXPECT_EQ(bitmap.Get(1, 2), 0x21u);
}

TEST_F(DrawCapture, BottomUpReversesTheRows) {
    TrueColorBitmap bitmap(2, 3);
    CaptureTrueColor(bitmap, screen, true);
    EXPECT_EQ(bitmap.Get(0, 0), 0x20u);
    EXPECT_EQ(bitmap.Get(1, 1), 0x11u);
    EXPECT_EQ(bitmap.Get(1, 2), 0x01u);
}

TEST_F(DrawCapture, CopiesTheSharedSizeAndClearsTheTopByteEverywhere) {
    TrueColorBitmap bitmap(3, 2);
    bitmap.Set(2, 1, 0xFF000007);
    CaptureTrueColor(bitmap, screen, true);
    EXPECT_EQ(bitmap.Get(0, 0), 0x10u);  // reversed within the two shared rows
    EXPECT_EQ(bitmap.Get(1, 1), 0x01u);
    EXPECT_EQ(bitmap.Get(2, 1), 0x07u);  // outside the screen: kept, top byte cleared
}

}  // namespace
}  // namespace anitrope
