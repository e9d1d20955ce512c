#include "model/animation.h"

#include <gtest/gtest.h>

#include "frame_fixtures.h"

namespace anitrope {
namespace {

using testing::AppendFrame;

TEST(ModelAnimation, CountsAndIndexesFrames) {
    Animation doc;
    EXPECT_EQ(doc.FrameCount(), 0u);
    EXPECT_EQ(doc.FrameAt(0), nullptr);
    EXPECT_EQ(doc.LastFrame(), nullptr);
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* b = AppendFrame(doc, 1, 1);
    EXPECT_EQ(doc.FrameCount(), 2u);
    EXPECT_EQ(doc.FrameAt(0), a);
    EXPECT_EQ(doc.FrameAt(1), b);
    EXPECT_EQ(doc.FrameAt(2), nullptr);
    EXPECT_EQ(doc.LastFrame(), b);
}

TEST(ModelAnimation, ClearFreesFramesAndKeepsDocumentValues) {
    Animation doc;
    doc.loopCount = 3;
    AppendFrame(doc, 1, 1);
    AppendFrame(doc, 1, 1);
    doc.Clear();
    EXPECT_EQ(doc.head, nullptr);
    EXPECT_EQ(doc.loopCount, 3);
}

TEST(ModelAnimation, FitScreenToFramesTakesTheFarthestEdges) {
    Animation doc;
    AppendFrame(doc, 10, 4, 5, 0);
    AppendFrame(doc, 3, 20, 0, 2);
    doc.FitScreenToFrames();
    EXPECT_EQ(doc.screenWidth, 15);
    EXPECT_EQ(doc.screenHeight, 22);
}

TEST(ModelAnimation, FitScreenToFramesSaturatesInsteadOfWrapping) {
    Animation doc;
    Gif* g = AppendFrame(doc, 0, 0, INT32_MAX, 0);
    g->width = 100;  // a corrupt record: right edge beyond int32
    doc.FitScreenToFrames();
    EXPECT_EQ(doc.screenWidth, INT32_MAX);
}

TEST(ModelAnimation, TakeAnimationMovesFramesAndValuesButKeepsTheStamps) {
    Animation from;
    from.screenWidth = 30;
    from.loopCount = 4;
    from.hasLoopExtension = false;
    from.globalPalette[2] = PaletteEntry{1, 2, 3};
    from.globalPalettePresent = 1;
    from.globalComments.Append("note");
    from.hasGlobalComments = 1;
    from.bannerGroups = 2;
    Gif* a = AppendFrame(from, 1, 1);
    Gif* b = AppendFrame(from, 1, 1);
    Animation to;
    to.version = 40;
    to.pictureStamp = 39;
    AppendFrame(to, 2, 2);  // freed by the take
    TakeAnimation(to, from);

    EXPECT_EQ(to.head, a);
    EXPECT_EQ(to.FrameAt(1), b);
    EXPECT_EQ(to.FrameCount(), 2u);
    for (Gif* g = to.head; g; g = g->next) EXPECT_EQ(g->animation, &to);
    EXPECT_EQ(to.screenWidth, 30);
    EXPECT_EQ(to.loopCount, 4);
    EXPECT_FALSE(to.hasLoopExtension);
    EXPECT_EQ(to.globalPalette[2], (PaletteEntry{1, 2, 3}));
    EXPECT_EQ(to.globalPalettePresent, 1);
    ASSERT_EQ(to.globalComments.Size(), 1u);
    EXPECT_EQ(to.globalComments.At(0), "note");
    EXPECT_EQ(to.hasGlobalComments, 1);
    EXPECT_EQ(to.bannerGroups, 2);
    EXPECT_EQ(to.version, 40u);
    EXPECT_EQ(to.pictureStamp, 39u);

    EXPECT_EQ(from.head, nullptr);
    EXPECT_TRUE(from.globalComments.Empty());
    EXPECT_EQ(from.hasGlobalComments, 0);
}

TEST(ModelAnimation, DetachFramesGivesGlobalFramesTheirColoursAsLocalOnes) {
    Animation from, into;
    from.globalPalette[0] = PaletteEntry{7, 7, 7};
    into.globalPalette[0] = PaletteEntry{9, 9, 9};
    Gif* global = AppendFrame(from, 1, 1);
    global->usesLocalPalette = 0;
    global->palette[0] = PaletteEntry{1, 1, 1};  // not what it draws with
    Gif* local = AppendFrame(from, 1, 1);
    local->usesLocalPalette = 1;
    local->palette[0] = PaletteEntry{2, 2, 2};

    Gif* chain = DetachFrames(from, into);
    ASSERT_EQ(chain, global);
    EXPECT_EQ(chain->next, local);
    EXPECT_EQ(local->prev, global);
    EXPECT_EQ(from.head, nullptr);
    EXPECT_EQ(into.head, nullptr) << "linking the chain in is the caller's";
    for (Gif* g = chain; g; g = g->next) {
        EXPECT_EQ(g->animation, &into);
        EXPECT_EQ(g->usesLocalPalette, 1);
    }
    EXPECT_EQ(EffectivePalette(*global)[0], (PaletteEntry{7, 7, 7}));
    EXPECT_EQ(EffectivePalette(*local)[0], (PaletteEntry{2, 2, 2}));
    into.head = chain;
}

TEST(ModelAnimation, RecountGroupsFindsEveryGroupsEndsAndCount) {
    auto outer = std::make_shared<FrameGroup>();
    auto inner = std::make_shared<FrameGroup>();
    inner->parent = outer;
    auto moved = std::make_shared<FrameGroup>();
    moved->frames = 3;  // stale
    Animation doc;
    AppendFrame(doc, 1, 1);  // frames outside any group around them
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* b = AppendFrame(doc, 1, 1);
    Gif* c = AppendFrame(doc, 1, 1);
    AppendFrame(doc, 1, 1);
    a->group = outer;
    b->group = inner;
    c->group = inner;
    outer->frames = 99;  // stale counts are replaced
    RecountGroups(doc);
    EXPECT_EQ(outer->first, a);
    EXPECT_EQ(outer->last, c);
    EXPECT_EQ(outer->frames, 3u);
    EXPECT_EQ(inner->first, b);
    EXPECT_EQ(inner->last, c);
    EXPECT_EQ(inner->frames, 2u);

    // A frame moves from one group into another inside the same outer one.
    c->group = moved;
    moved->parent = outer;
    RecountGroups(doc);
    EXPECT_EQ(inner->last, b);
    EXPECT_EQ(inner->frames, 1u);
    EXPECT_EQ(moved->first, c);
    EXPECT_EQ(moved->last, c);
    EXPECT_EQ(moved->frames, 1u);
    EXPECT_EQ(outer->frames, 3u);
}

}  // namespace
}  // namespace anitrope
