#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "model/gif.h"
#include "model/resize.h"

namespace anitrope {
namespace {

using testing::AppendFrame;

struct Geometry {
    int32_t left, top;
    uint32_t width, height;
    friend bool operator==(const Geometry&, const Geometry&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Geometry& g) {
        return os << g.width << "x" << g.height << "@" << g.left << "," << g.top;
    }
};

Geometry GeometryOf(const Gif& g) { return {g.left, g.top, g.width, g.height}; }

// Smooth resizes of frames together with a 100 x 100 screen.
class ResizeScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        doc.screenWidth = 100;
        doc.screenHeight = 100;
        first = AppendFrame(doc, 100, 100);
    }
    Gif* Frame(uint32_t w, uint32_t h, int32_t left, int32_t top) {
        return AppendFrame(doc, w, h, left, top);
    }
    static bool Resize(Gif* g, int32_t w, int32_t h) { return ResizeGif(*g, w, h, true, false); }

    Animation doc;
    Gif* first = nullptr;
};

TEST_F(ResizeScreen, FullScreenFrameTakesTheNewScreenSize) {
    ASSERT_TRUE(Resize(first, 40, 60));
    EXPECT_EQ(GeometryOf(*first), (Geometry{0, 0, 40, 60}));
}

TEST_F(ResizeScreen, OffsetFrameScalesWithTheRememberedScreen) {
    Gif* g = Frame(21, 100, 10, 0);
    ASSERT_TRUE(Resize(g, 50, 50));
    // Width round(21 * 0.5); left trunc(10 * 0.5 - 0.5). Full height follows the screen.
    EXPECT_EQ(GeometryOf(*g), (Geometry{4, 0, 11, 50}));
    EXPECT_TRUE(doc.resizeMemorySet);
    EXPECT_EQ(doc.rememberedWidth, 100);
    EXPECT_EQ(doc.rememberedHeight, 100);
}

TEST_F(ResizeScreen, FrameBelowTheTopScalesItsHeightAndTop) {
    Gif* g = Frame(100, 21, 0, 5);
    ASSERT_TRUE(Resize(g, 150, 150));
    // Height round(21 * 1.5); top round(5 * 1.5).
    EXPECT_EQ(GeometryOf(*g), (Geometry{0, 8, 150, 32}));
}

TEST_F(ResizeScreen, NarrowFrameAtTheLeftEdgeScalesByTheScreen) {
    Gif* g = Frame(33, 100, 0, 0);
    ASSERT_TRUE(Resize(g, 50, 100));
    EXPECT_EQ(GeometryOf(*g), (Geometry{0, 0, 17, 100}));  // round(50 * 33 / 100)
}

TEST_F(ResizeScreen, NarrowFrameTakesTheWholeWidthWhenTheScreenKeepsIt) {
    Gif* g = Frame(33, 40, 0, 0);
    ASSERT_TRUE(Resize(g, 100, 50));
    EXPECT_EQ(GeometryOf(*g), (Geometry{0, 0, 100, 20}));  // round(50 * 40 / 100)
}

TEST_F(ResizeScreen, ShortFrameUsesTheRememberedHeightWhenTheScreenHeightStays) {
    Gif* g = Frame(20, 50, 10, 0);
    ASSERT_TRUE(Resize(first, 100, 100));  // first resize: remembers 100 x 100
    doc.screenWidth = 200;
    doc.screenHeight = 200;
    ASSERT_TRUE(Resize(g, 200, 200));
    // Offset frames keep the memory; NH equals the screen height, so H scales by NH / RH.
    EXPECT_EQ(GeometryOf(*g), (Geometry{19, 0, 40, 100}));
}

TEST_F(ResizeScreen, HeadAtTheOriginRemembersTheCurrentScreen) {
    ASSERT_TRUE(Resize(first, 100, 100));
    doc.screenWidth = 80;
    doc.screenHeight = 90;
    ASSERT_TRUE(Resize(first, 80, 90));
    EXPECT_EQ(doc.rememberedWidth, 80);
    EXPECT_EQ(doc.rememberedHeight, 90);
}

TEST_F(ResizeScreen, OtherFrameAtTheOriginRemembersItsOwnSize) {
    Gif* g = Frame(30, 40, 0, 0);
    ASSERT_TRUE(Resize(first, 100, 100));
    ASSERT_TRUE(Resize(g, 100, 100));
    EXPECT_EQ(doc.rememberedWidth, 30);  // its size before the resize
    EXPECT_EQ(doc.rememberedHeight, 40);
}

TEST_F(ResizeScreen, FirstResizeRemembersTheScreenWhateverTheFrame) {
    Gif* g = Frame(30, 40, 0, 0);
    ASSERT_TRUE(Resize(g, 100, 100));
    EXPECT_EQ(doc.rememberedWidth, 100);
    EXPECT_EQ(doc.rememberedHeight, 100);
}

TEST_F(ResizeScreen, LoadingAndOffsetFramesLeaveTheMemoryAlone) {
    Gif* atOrigin = Frame(30, 40, 0, 0);
    Gif* offset = Frame(30, 40, 0, 7);
    ASSERT_TRUE(Resize(first, 100, 100));
    doc.loadingResize = true;
    ASSERT_TRUE(Resize(atOrigin, 100, 100));
    doc.loadingResize = false;
    ASSERT_TRUE(Resize(offset, 100, 100));
    EXPECT_EQ(doc.rememberedWidth, 100);
    EXPECT_EQ(doc.rememberedHeight, 100);
}

TEST_F(ResizeScreen, RefusesWhenTheScaledSizeVanishes) {
    Gif* g = Frame(1, 100, 0, 0);
    EXPECT_FALSE(Resize(g, 10, 100));  // round(10 * 1 / 100) = 0
    EXPECT_EQ(GeometryOf(*g), (Geometry{0, 0, 1, 100}));
    EXPECT_EQ(g->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*g), 1);
}

TEST_F(ResizeScreen, RefusesAnEmptyScreenInsteadOfDividingByZero) {
    doc.screenWidth = 0;
    Gif* g = Frame(20, 100, 0, 0);
    EXPECT_FALSE(Resize(g, 10, 100));
    Gif* offset = Frame(20, 100, 5, 0);  // remembered width is 0 as well
    EXPECT_FALSE(Resize(offset, 10, 100));
}

TEST_F(ResizeScreen, FrameWithoutDocumentKeepsItsOrigin) {
    Gif orphan(nullptr);
    AllocIndexed(orphan, 10, 10);
    orphan.left = 3;
    ASSERT_TRUE(ResizeGif(orphan, 20, 5, true, false));
    EXPECT_EQ(GeometryOf(orphan), (Geometry{3, 0, 20, 5}));
}

// The whole animation: the same places for either resampling; the screen changes last, and
// only when every frame could be scaled.
TEST_F(ResizeScreen, ResizeAnimationPlacesEveryFrameAndThenTakesTheScreen) {
    for (const bool smooth : {false, true}) {
        SCOPED_TRACE(smooth ? "smooth" : "nearest");
        Animation animation;
        animation.screenWidth = animation.screenHeight = 100;
        AppendFrame(animation, 100, 100);
        AppendFrame(animation, 21, 100, 10, 0);
        ASSERT_TRUE(ResizeAnimation(animation, 50, 50, smooth));
        EXPECT_EQ(GeometryOf(*animation.head), (Geometry{0, 0, 50, 50}));
        EXPECT_EQ(GeometryOf(*animation.head->next), (Geometry{4, 0, 11, 50}));
        EXPECT_EQ(animation.screenWidth, 50);
        EXPECT_EQ(IsIndexedReady(*animation.head->next), smooth ? 0 : 1);

        AppendFrame(animation, 1, 50, 0, 0);  // round(10 * 1 / 50) = 0 columns
        EXPECT_FALSE(ResizeAnimation(animation, 10, 50, smooth));
        EXPECT_EQ(animation.screenWidth, 50);
    }
}

}  // namespace
}  // namespace anitrope
