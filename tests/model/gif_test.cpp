#include "model/gif.h"

#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "model/animation.h"

namespace anitrope {
namespace {

using testing::AppendFrame;

TEST(ModelGif, CreateGifTakesDelayFromDocumentWithoutPrev) {
    Animation doc;
    doc.animationDelay = 37;
    Gif* g = CreateGif(doc, nullptr, nullptr);
    EXPECT_EQ(g->delay, 37);
    EXPECT_EQ(g->usesLocalPalette, 1);
    EXPECT_EQ(g->animation, &doc);
    EXPECT_EQ(IsIndexedReady(*g), 1);
    DiscardGif(g);
}

TEST(ModelGif, CreateGifTakesDelayAndPaletteFlagFromPrevAndLinksOnlyItself) {
    Animation doc;
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* c = AppendFrame(doc, 1, 1);
    a->delay = 5;
    a->usesLocalPalette = 0;
    Gif* b = CreateGif(doc, a, c);
    EXPECT_EQ(b->delay, 5);
    EXPECT_EQ(b->usesLocalPalette, 0);
    EXPECT_EQ(b->prev, a);
    EXPECT_EQ(b->next, c);
    EXPECT_EQ(a->next, c);  // neighbours are the caller's to patch
    EXPECT_EQ(c->prev, a);
    DiscardGif(b);
    // A predecessor awaiting its reduction gets a palette of its own from it, so the new frame
    // does not copy the flag.
    SetIndexedReady(*a, 0);
    Gif* d = CreateGif(doc, a, c);
    EXPECT_EQ(d->usesLocalPalette, 1);
    EXPECT_EQ(d->delay, 5);
    DiscardGif(d);
}

TEST(ModelGif, DestroyGifUnlinksFromTheMiddle) {
    Animation doc;
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* b = AppendFrame(doc, 2, 2);
    Gif* c = AppendFrame(doc, 1, 1);
    b->comments.Append("note");
    DestroyGif(*b);
    EXPECT_EQ(a->next, c);
    EXPECT_EQ(c->prev, a);
    EXPECT_EQ(b->next, nullptr);
    EXPECT_EQ(b->prev, nullptr);
    EXPECT_EQ(b->alive, 0u);
    EXPECT_EQ(b->indexed, nullptr);
    EXPECT_TRUE(b->comments.Empty());
    EXPECT_EQ(doc.FrameCount(), 2u);
    delete b;
}

TEST(ModelGif, DiscardGifAtEitherEndOfAChainLeavesTheRestLinked) {
    Animation doc;
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* b = AppendFrame(doc, 1, 1);
    Gif* c = AppendFrame(doc, 1, 1);
    doc.head = nullptr;  // a chain no document holds
    DiscardGif(a);
    EXPECT_EQ(b->prev, nullptr);
    EXPECT_EQ(b->next, c);
    DiscardGif(c);
    EXPECT_EQ(b->next, nullptr);
    EXPECT_EQ(b->prev, nullptr);
    DiscardGif(b);
}

TEST(ModelGif, DiscardGifAcceptsNull) { DiscardGif(nullptr); }

TEST(ModelGif, ReverseOfOneFrameIsItselfWithoutLinks) {
    Animation doc;
    Gif* a = AppendFrame(doc, 1, 1);
    EXPECT_EQ(ReverseGifList(a), a);
    EXPECT_EQ(a->next, nullptr);
    EXPECT_EQ(a->prev, nullptr);
    EXPECT_EQ(ReverseGifList(nullptr), nullptr);
}

TEST(ModelGif, ReverseOfThreeFramesFromAnyMember) {
    Animation doc;
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* b = AppendFrame(doc, 1, 1);
    Gif* c = AppendFrame(doc, 1, 1);
    Gif* head = ReverseGifList(b);
    ASSERT_EQ(head, c);
    EXPECT_EQ(c->prev, nullptr);
    EXPECT_EQ(c->next, b);
    EXPECT_EQ(b->prev, c);
    EXPECT_EQ(b->next, a);
    EXPECT_EQ(a->prev, b);
    EXPECT_EQ(a->next, nullptr);
    doc.head = head;  // the document's head is the caller's to update
    EXPECT_EQ(doc.FrameAt(2), a);
}

TEST(ModelGif, EffectivePaletteFollowsTheLocalFlag) {
    Animation doc;
    Gif* g = AppendFrame(doc, 1, 1);
    g->palette[0] = PaletteEntry{1, 2, 3};
    doc.globalPalette[0] = PaletteEntry{4, 5, 6};
    EXPECT_EQ(EffectivePalette(*g)[0], (PaletteEntry{1, 2, 3}));
    g->usesLocalPalette = 0;
    EXPECT_EQ(EffectivePalette(*g)[0], (PaletteEntry{4, 5, 6}));
    Gif orphan(nullptr);
    orphan.usesLocalPalette = 0;
    EXPECT_EQ(&EffectivePalette(orphan), &orphan.palette);
}

TEST(ModelGif, DisposalNames) {
    EXPECT_STREQ(DisposalName(DisposalNotSpecified), "Not specified");
    EXPECT_STREQ(DisposalName(DisposalDoNotDispose), "Do Not Dispose");
    EXPECT_STREQ(DisposalName(DisposalRestoreBackground), "Restore Backgr Color");
    EXPECT_STREQ(DisposalName(DisposalRestorePrevious), "Restore to Previous");
    EXPECT_STREQ(DisposalName(4), "Reserved");
    EXPECT_STREQ(DisposalName(7), "Reserved");
}

}  // namespace
}  // namespace anitrope
