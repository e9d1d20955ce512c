#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "model/color_below.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;
using testing::FillTrueColor;

class ModelColorBelow : public ::testing::Test {
  protected:
    void SetUp() override {
        bottom = AppendFrame(doc, 2, 2);
        bottom->palette[1] = PaletteEntry{10, 20, 30};
        FillIndexed(*bottom, {1, 1, 1, 0});  // slot 0 unused
        middle = AppendFrame(doc, 1, 1, 1, 1);
        middle->palette[4] = PaletteEntry{1, 2, 3};
        top = AppendFrame(doc, 2, 2);
    }
    Animation doc;
    Gif* bottom = nullptr;
    Gif* middle = nullptr;
    Gif* top = nullptr;
};

TEST_F(ModelColorBelow, NothingLiesBelowTheFirstFrame) {
    for (int y = -1; y < 3; ++y)
        for (int x = -1; x < 3; ++x) EXPECT_EQ(ColorBelow(*bottom, x, y), kNoColor);
}

TEST_F(ModelColorBelow, NearestCoveringFrameAnswers) {
    FillIndexed(*middle, {4});
    EXPECT_EQ(ColorBelow(*top, 1, 1), MakeColorRef(1, 2, 3));
    EXPECT_EQ(ColorBelow(*top, 0, 0), MakeColorRef(10, 20, 30));  // middle does not cover it
    EXPECT_EQ(ColorBelow(*top, 5, 5), kNoColor);
}

TEST_F(ModelColorBelow, TransparentPixelShowsTheFrameBeforeIt) {
    FillIndexed(*bottom, {1, 1, 1, 1});
    middle->transparent = 1;
    middle->transparentIndex = 4;
    FillIndexed(*middle, {4});
    EXPECT_EQ(ColorBelow(*top, 1, 1), MakeColorRef(10, 20, 30));
}

TEST_F(ModelColorBelow, UnusedSlotIsBlackAndGlobalPaletteApplies) {
    EXPECT_EQ(ColorBelow(*middle, 1, 1), 0);  // bottom's (1,1) is unused slot 0
    bottom->usesLocalPalette = 0;
    doc.globalPalette[1] = PaletteEntry{200, 100, 50};
    EXPECT_EQ(ColorBelow(*middle, 0, 0), MakeColorRef(200, 100, 50));
}

TEST_F(ModelColorBelow, PendingFrameAnswersFromTrueColor) {
    FillIndexed(*middle, {4});
    FillTrueColor(*middle, {0x0A0B0C});  // also marks it pending
    EXPECT_EQ(ColorBelow(*top, 1, 1), MakeColorRef(0x0A, 0x0B, 0x0C));
}

TEST_F(ModelColorBelow, DeadFramesEndTheWalk) {
    bottom->alive = 0;
    EXPECT_EQ(ColorBelow(*middle, 0, 0), kNoColor);
}

}  // namespace
}  // namespace anitrope
