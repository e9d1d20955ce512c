#include "model/frame_chain.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame_fixtures.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::ChainGuard;
using testing::FillIndexed;
using testing::FillTrueColor;

// A free-standing chain of 1x1 frames, frame i holding index i and true colour colours[i].
Gif* MakeChain(Animation& doc, const std::vector<uint32_t>& colours) {
    Gif* head = nullptr;
    Gif* tail = nullptr;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        Gif* g = CreateGif(doc, tail, nullptr);
        (tail ? tail->next : head) = g;
        tail = g;
        AllocIndexed(*g, 1, 1);
        g->indexed->Set(0, 0, static_cast<uint8_t>(i));
        FillTrueColor(*g, {colours[i]});
    }
    return head;
}

std::vector<uint32_t> TrueColors(const Gif* chain) {
    std::vector<uint32_t> out;
    for (; chain; chain = chain->next)
        out.push_back(chain->trueColor ? chain->trueColor->Get(0, 0) : 0xDEAD);
    return out;
}

// Every frame's prev points back at the one before it.
bool LinksConsistent(const Gif* chain) {
    const Gif* before = nullptr;
    for (; chain; before = chain, chain = chain->next)
        if (chain->prev != before) return false;
    return true;
}

class FrameChain : public ::testing::Test {
  protected:
    void SetUp() override {
        a = AppendFrame(doc, 2, 1);
        FillIndexed(*a, {1, 2});
        a->name = "a";
        b = AppendFrame(doc, 3, 1);
        FillIndexed(*b, {3, 4, 5});
        b->name = "b";
    }
    Animation doc;
    Gif* a = nullptr;
    Gif* b = nullptr;
};

TEST_F(FrameChain, MakeFrameListCopiesAIntoLinkedFrames) {
    ChainGuard chain{MakeFrameList(doc, a, b, 3)};
    ASSERT_NE(chain.head, nullptr);
    EXPECT_TRUE(LinksConsistent(chain.head));
    EXPECT_EQ(chain.head->prev, nullptr);
    int n = 0;
    for (Gif* g = chain.head; g; g = g->next, ++n) {
        EXPECT_EQ(g->width, 2u);
        EXPECT_EQ(g->indexed->Get(1, 0), 2);
        EXPECT_EQ(g->name, "Copy of a");
        EXPECT_EQ(g->trueColor, nullptr);
    }
    EXPECT_EQ(n, 3);
    EXPECT_EQ(doc.FrameCount(), 2u);  // the chain is not linked into the document
}

TEST_F(FrameChain, MakeFrameListFallsBackToB) {
    ChainGuard chain{MakeFrameList(doc, nullptr, b, 1)};
    ASSERT_NE(chain.head, nullptr);
    EXPECT_EQ(chain.head->next, nullptr);
    EXPECT_EQ(chain.head->width, 3u);
    EXPECT_EQ(chain.head->indexed->Get(2, 0), 5);
}

TEST_F(FrameChain, MakeFrameListCopiesNoTrueColorOfAReducedFrame) {
    FillTrueColor(*a, {1, 2});
    SetIndexedReady(*a, 1);  // reduced, its true colour kept
    ChainGuard chain{MakeFrameList(doc, a, nullptr, 1)};
    ASSERT_NE(chain.head, nullptr);
    EXPECT_EQ(chain.head->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*chain.head), 1);
    // A frame still awaiting its reduction shows its true colour, and so do its copies.
    SetIndexedReady(*a, 0);
    ChainGuard pending{MakeFrameList(doc, a, nullptr, 1)};
    ASSERT_NE(pending.head, nullptr);
    ASSERT_NE(pending.head->trueColor, nullptr);
    EXPECT_EQ(pending.head->trueColor->Get(1, 0), 2u);
    EXPECT_EQ(IsIndexedReady(*pending.head), 0);
}

TEST_F(FrameChain, MakeFrameListRefusals) {
    EXPECT_EQ(MakeFrameList(doc, a, b, 0), nullptr);
    EXPECT_EQ(MakeFrameList(doc, nullptr, nullptr, 2), nullptr);
    b->bitsPerPixel = 4;  // even the unused second source must be 8 bits
    EXPECT_EQ(MakeFrameList(doc, a, b, 2), nullptr);
    b->bitsPerPixel = 8;
    a->bitsPerPixel = 1;
    EXPECT_EQ(MakeFrameList(doc, a, b, 2), nullptr);
    a->bitsPerPixel = 8;
    a->height = 0;
    EXPECT_EQ(MakeFrameList(doc, a, b, 2), nullptr);  // A's size decides, not B's
}

TEST_F(FrameChain, MakeFrameListFailedCopyDiscardsTheChain) {
    Gif* huge = AppendFrame(doc, 20000, 1);                    // its copies cannot get pixels
    EXPECT_EQ(MakeFrameList(doc, huge, nullptr, 3), nullptr);  // LeakSanitizer checks the rest
}

TEST_F(FrameChain, PrepareFramesGivesTrueColorToSourcesAndTheFirstCountFrames) {
    a->palette[2] = PaletteEntry{1, 2, 3};
    ChainGuard chain{MakeFrameList(doc, a, nullptr, 3)};
    ASSERT_NE(chain.head, nullptr);
    EXPECT_EQ(PrepareFrames(a, b, chain.head, 2, false), 1);
    ASSERT_NE(a->trueColor, nullptr);
    EXPECT_EQ(a->trueColor->Get(1, 0), 0x010203u);
    ASSERT_NE(b->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*a), 1);
    Gif* first = chain.head;
    Gif* third = first->next->next;
    ASSERT_NE(first->trueColor, nullptr);
    EXPECT_EQ(first->trueColor->Width(), 2);
    EXPECT_NE(first->next->trueColor, nullptr);
    EXPECT_EQ(third->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*first), 0);
    EXPECT_EQ(IsIndexedReady(*third), 1);
}

TEST_F(FrameChain, PrepareFramesPendingMarksTheSources) {
    EXPECT_EQ(PrepareFrames(a, nullptr, nullptr, 5, true), 1);
    EXPECT_NE(a->trueColor, nullptr);
    EXPECT_EQ(IsIndexedReady(*a), 0);
}

TEST_F(FrameChain, PingPongOfFiveMirrorsAroundTheMiddle) {
    ChainGuard chain{MakeChain(doc, {0xA, 0xB, 0xC})};
    EXPECT_EQ(AppendPingPong(chain.head, 5), 1);
    EXPECT_EQ(TrueColors(chain.head), (std::vector<uint32_t>{0xA, 0xB, 0xC, 0xB, 0xA}));
    EXPECT_TRUE(LinksConsistent(chain.head));
    Gif* fifth = chain.head->next->next->next->next;
    EXPECT_EQ(fifth->indexed->Get(0, 0), 0);  // indexed pixels are copied too
    EXPECT_EQ(IsIndexedReady(*fifth), 0);     // awaiting reduction like its source
}

TEST_F(FrameChain, PingPongOfFourRepeatsTheTurningFrame) {
    ChainGuard chain{MakeChain(doc, {0xA, 0xB})};
    EXPECT_EQ(AppendPingPong(chain.head, 4), 1);
    EXPECT_EQ(TrueColors(chain.head), (std::vector<uint32_t>{0xA, 0xB, 0xB, 0xA}));
    EXPECT_TRUE(LinksConsistent(chain.head));
}

TEST_F(FrameChain, PingPongOfTwoAppendsOneCopy) {
    ChainGuard chain{MakeChain(doc, {0xA})};
    EXPECT_EQ(AppendPingPong(chain.head, 2), 1);
    EXPECT_EQ(TrueColors(chain.head), (std::vector<uint32_t>{0xA, 0xA}));
}

TEST_F(FrameChain, PingPongOfOneLeavesTheChainAlone) {
    ChainGuard chain{MakeChain(doc, {0xA})};
    EXPECT_EQ(AppendPingPong(chain.head, 1), 1);
    EXPECT_EQ(chain.head->next, nullptr);
}

TEST_F(FrameChain, PingPongStopsAtTheFirstFailedCopyKeepingEarlierOnes) {
    ChainGuard chain{MakeChain(doc, {0xA, 0xB, 0xC})};
    chain.head->width = 20000;  // A's copy cannot get pixels
    EXPECT_EQ(AppendPingPong(chain.head, 5), 0);
    EXPECT_EQ(TrueColors(chain.head), (std::vector<uint32_t>{0xA, 0xB, 0xC, 0xB}));
    EXPECT_TRUE(LinksConsistent(chain.head));
}

TEST_F(FrameChain, PingPongNeedsHalfTheSequence) {
    ChainGuard chain{MakeChain(doc, {0xA})};
    EXPECT_EQ(AppendPingPong(chain.head, 5), 0);  // three frames expected, one given
    EXPECT_EQ(AppendPingPong(nullptr, 4), 0);
}

TEST_F(FrameChain, DiscardFramesCutsTheChainAtTheGivenFrame) {
    ChainGuard chain{MakeChain(doc, {1, 2, 3, 4})};
    EXPECT_EQ(DiscardFrames(chain.head->next), nullptr);
    EXPECT_EQ(chain.head->next, nullptr);
    EXPECT_EQ(DiscardFrames(nullptr), nullptr);
}

}  // namespace
}  // namespace anitrope
