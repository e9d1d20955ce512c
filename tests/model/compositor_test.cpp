#include "model/compositor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <initializer_list>
#include <optional>
#include <vector>

#include "composition_fixtures.h"
#include "frame_fixtures.h"
#include "model/animation.h"
#include "model/gif.h"
#include "platform/job_scheduler.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;
using testing::FillTrueColor;
using testing::Pixels;
using testing::PixelsOf;
using testing::SetSlot;

constexpr uint32_t kBack = 0x0000C0;  // the global palette's background slot
constexpr uint32_t kGrey = kNothingBeneathPixel;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint8_t R = 1, G = 2, W = 3, T = 9;  // T: the transparent index where it is set

class CompositorTest : public ::testing::Test {
  protected:
    void SetScreen(int32_t width, int32_t height) {
        doc.screenWidth = width;
        doc.screenHeight = height;
        doc.backgroundIndex = 5;
        SetSlot(doc.globalPalette, 5, 0, 0, 0xC0);
    }

    // A frame at (left, top) with the given pixels; T is its transparent index when
    // `transparent`. Slot T holds a colour of its own, so a pixel drawn that should not be
    // shows.
    Gif* Frame(uint32_t width, uint32_t height, int32_t left, int32_t top,
               std::initializer_list<uint8_t> pixels, uint32_t disposal = DisposalDoNotDispose,
               bool transparent = false) {
        Gif* gif = AppendFrame(doc, width, height, left, top);
        SetSlot(gif->palette, R, 0xFF, 0, 0);
        SetSlot(gif->palette, G, 0, 0xFF, 0);
        SetSlot(gif->palette, W, 0xFF, 0xFF, 0xFF);
        SetSlot(gif->palette, T, 0x12, 0x34, 0x56);
        FillIndexed(*gif, pixels);
        gif->disposal = disposal;
        gif->transparent = transparent ? 1 : 0;
        gif->transparentIndex = T;
        return gif;
    }

    Pixels Shown(Gif& gif) {
        auto picture = compositor->GetDisplayBitmap(gif);
        if (!picture) {
            ADD_FAILURE() << "no picture";
            return {};
        }
        EXPECT_EQ(picture->Width(), doc.screenWidth);
        EXPECT_EQ(picture->Height(), doc.screenHeight);
        return PixelsOf(*picture);
    }

    // Composition jobs run on `scheduler`, which must outlive the compositor.
    void UseScheduler(std::size_t threads) {
        compositor.reset();
        scheduler.emplace(threads);
        compositor.emplace(doc, &*scheduler);
    }

    // The frame's picture when a current one is kept.
    std::shared_ptr<const ScreenImage> CachedPicture(const Gif& gif) {
        return compositor->CachedDisplayBitmap(gif);
    }
    bool Cached(const Gif& gif) { return CachedPicture(gif) != nullptr; }

    Animation doc;
    std::optional<JobScheduler> scheduler;
    std::optional<Compositor> compositor{std::in_place, doc, nullptr};
};

// --- the first frame ------------------------------------------------------------------------

TEST_F(CompositorTest, FirstFrameSmallerThanTheScreenSitsOnTheBackground) {
    SetScreen(3, 2);
    Gif* f0 = Frame(1, 1, 1, 1, {R});
    EXPECT_EQ(Shown(*f0), (Pixels{kBack, kBack, kBack, kBack, kRed, kBack}));
}

TEST_F(CompositorTest, TransparentFirstFrameCoveringTheScreenShowsNothingBeneath) {
    SetScreen(2, 1);
    Gif* f0 = Frame(2, 1, 0, 0, {T, R}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f0), (Pixels{kGrey, kRed}));
}

TEST_F(CompositorTest, TransparentFirstFrameSmallerThanTheScreenHasBackgroundAround) {
    SetScreen(4, 1);
    Gif* f0 = Frame(2, 1, 1, 0, {T, R}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f0), (Pixels{kBack, kGrey, kRed, kBack}));
}

TEST_F(CompositorTest, UnusedBackgroundSlotIsBlack) {
    SetScreen(2, 1);
    doc.backgroundIndex = 200;
    Gif* f0 = Frame(1, 1, 1, 0, {R});
    EXPECT_EQ(Shown(*f0), (Pixels{0, kRed}));
}

TEST_F(CompositorTest, FramePixelsOffTheScreenAreClipped) {
    SetScreen(2, 2);
    Frame(2, 2, 0, 0, {G, G, G, G});
    Gif* f1 = Frame(3, 2, -1, 1, {R, W, R, W, W, W}, DisposalRestoreBackground);
    Gif* f2 = Frame(2, 2, 0, 0, {T, T, T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f1), (Pixels{kGreen, kGreen, kWhite, kRed}));
    EXPECT_EQ(Shown(*f2), (Pixels{kGreen, kGreen, kBack, kBack}));
}

// --- what later frames see ------------------------------------------------------------------

TEST_F(CompositorTest, OpaqueWholeScreenFrameNeedsNothingEarlier) {
    SetScreen(2, 1);
    Gif* f0 = Frame(2, 1, 0, 0, {R, R});
    f0->indexed.reset();  // no picture at all
    auto stale = std::make_shared<const ScreenImage>(2, 1, 0xABCDEF);
    compositor->Cache().Store(*f0, stale, 0);
    Gif* f1 = Frame(2, 1, 0, 0, {G, W});
    EXPECT_EQ(Shown(*f1), (Pixels{kGreen, kWhite}));
    EXPECT_EQ(compositor->Compositions(), 1u);
    EXPECT_EQ(compositor->Cache().Find(*f0).picture, stale);
    // Nothing before it shows in its picture, so no change there makes it stale.
    MarkPictureChanged(doc, *f0);
    f1->linkStamp = ++doc.version;
    EXPECT_TRUE(Cached(*f1));
    EXPECT_EQ(Shown(*f1), (Pixels{kGreen, kWhite}));
    EXPECT_EQ(compositor->Compositions(), 1u);
}

TEST_F(CompositorTest, TransparentPixelsShowTheEarlierFrames) {
    SetScreen(3, 1);
    Frame(3, 1, 0, 0, {G, G, G});
    Frame(1, 1, 2, 0, {W});
    Gif* f2 = Frame(3, 1, 0, 0, {R, T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f2), (Pixels{kRed, kGreen, kWhite}));
}

TEST_F(CompositorTest, RestoreBackgroundLeavesBackgroundWhereTheFrameWas) {
    SetScreen(3, 1);
    Frame(3, 1, 0, 0, {G, G, G});
    Gif* f1 = Frame(1, 1, 1, 0, {R}, DisposalRestoreBackground);
    Gif* f2 = Frame(3, 1, 0, 0, {T, T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f1), (Pixels{kGreen, kRed, kGreen}));
    EXPECT_EQ(Shown(*f2), (Pixels{kGreen, kBack, kGreen}));
}

TEST_F(CompositorTest, RestorePreviousBringsBackTheScreenBeforeTheFrame) {
    SetScreen(3, 1);
    Frame(3, 1, 0, 0, {G, G, G});
    Frame(1, 1, 1, 0, {R});
    Gif* f2 = Frame(1, 1, 2, 0, {W}, DisposalRestorePrevious);
    Gif* f3 = Frame(1, 1, 0, 0, {W}, DisposalRestorePrevious);
    Gif* f4 = Frame(3, 1, 0, 0, {T, T, T}, DisposalDoNotDispose, true);
    // In order, so that every earlier picture is cached when the next is composed: those of
    // the restoring frames must not be taken for the screen after them.
    for (Gif* gif = doc.head; gif != f4; gif = gif->next) Shown(*gif);
    EXPECT_EQ(Shown(*f2), (Pixels{kGreen, kRed, kWhite}));
    EXPECT_EQ(Shown(*f3), (Pixels{kWhite, kRed, kGreen}));
    EXPECT_EQ(Shown(*f4), (Pixels{kGreen, kRed, kGreen}));
}

TEST_F(CompositorTest, RestorePreviousOnTheFirstFrameReturnsToNothingAndBackground) {
    SetScreen(3, 1);
    Frame(2, 1, 0, 0, {R, R}, DisposalRestorePrevious);
    Gif* f1 = Frame(3, 1, 0, 0, {T, T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f1), (Pixels{kGrey, kGrey, kBack}));
}

TEST_F(CompositorTest, RestorePreviousPassesOverAnOpaqueWholeScreenFrame) {
    SetScreen(2, 1);
    Frame(2, 1, 0, 0, {G, G});
    Frame(2, 1, 0, 0, {W, W}, DisposalRestorePrevious);
    Gif* f2 = Frame(2, 1, 0, 0, {R, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f2), (Pixels{kRed, kGreen}));
}

TEST_F(CompositorTest, ReservedDisposalsLeaveTheFrameInPlace) {
    SetScreen(2, 1);
    Frame(2, 1, 0, 0, {G, G});
    Frame(1, 1, 0, 0, {R}, 6);
    Gif* f2 = Frame(2, 1, 0, 0, {T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f2), (Pixels{kRed, kGreen}));
}

TEST_F(CompositorTest, GlobalDisposalOverridesEachFrame) {
    SetScreen(3, 1);
    Frame(3, 1, 0, 0, {G, G, G});
    Frame(1, 1, 1, 0, {R}, DisposalDoNotDispose);
    Gif* f2 = Frame(3, 1, 0, 0, {T, T, T}, DisposalRestoreBackground, true);
    doc.useAnimationDisposal = 1;
    doc.animationDisposal = DisposalRestoreBackground;
    EXPECT_EQ(Shown(*f2), (Pixels{kBack, kBack, kBack}));  // f0 restored too, f1 then

    doc.animationDisposal = DisposalDoNotDispose;
    MarkAllPicturesChanged(doc);
    EXPECT_EQ(Shown(*f2), (Pixels{kGreen, kRed, kGreen}));
}

// --- frames awaiting reduction and frames without pixels ------------------------------------

TEST_F(CompositorTest, PendingFrameIsShownFromItsTrueColorWithItsTransparency) {
    SetScreen(3, 1);
    Frame(3, 1, 0, 0, {G, G, G});
    // The stale indexed pixels would draw T's colour, or nothing: neither may show.
    Gif* f1 = Frame(3, 1, 0, 0, {T, T, R}, DisposalDoNotDispose, true);
    FillTrueColor(*f1, {0x123456, TransparentBit | 0xFFFFFF, 0x000001});
    Gif* f2 = Frame(3, 1, 0, 0, {T, T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(Shown(*f1), (Pixels{0x123456, kGreen, 0x000001}));
    EXPECT_EQ(Shown(*f2), (Pixels{0x123456, kGreen, 0x000001}));
}

TEST_F(CompositorTest, PendingWholeScreenFrameStillShowsWhatLiesBeneath) {
    SetScreen(2, 1);
    Frame(2, 1, 0, 0, {G, G});
    Gif* f1 = Frame(2, 1, 0, 0, {R, R});  // opaque once reduced
    FillTrueColor(*f1, {TransparentBit, 0x000002});
    EXPECT_EQ(Shown(*f1), (Pixels{kGreen, 0x000002}));
}

TEST_F(CompositorTest, FrameWithoutPixelsHasNoPictureAndHidesNothing) {
    SetScreen(2, 1);
    Frame(2, 1, 0, 0, {G, R});
    Gif* empty = Frame(2, 1, 0, 0, {W, W});
    empty->indexed.reset();
    Gif* pendingWithout = Frame(2, 1, 0, 0, {W, W});
    SetIndexedReady(*pendingWithout, 0);  // no true colour either
    Gif* last = Frame(2, 1, 0, 0, {T, T}, DisposalDoNotDispose, true);
    EXPECT_EQ(compositor->GetDisplayBitmap(*empty), nullptr);
    EXPECT_EQ(compositor->GetDisplayBitmap(*pendingWithout), nullptr);
    EXPECT_EQ(Shown(*last), (Pixels{kGreen, kRed}));
}

// --- keeping, forgetting and stamps --------------------------------------------------------

TEST_F(CompositorTest, PictureIsKeptUntilForgotten) {
    SetScreen(1, 1);
    Gif* f0 = Frame(1, 1, 0, 0, {R});
    auto first = compositor->GetDisplayBitmap(*f0);
    EXPECT_EQ(compositor->GetDisplayBitmap(*f0), first);
    EXPECT_EQ(compositor->CachedDisplayBitmap(*f0), first);
    EXPECT_EQ(compositor->Compositions(), 1u);
    compositor->ForgetFrame(*f0);
    EXPECT_EQ(compositor->CachedDisplayBitmap(*f0), nullptr);
    EXPECT_EQ(compositor->Cache().EntryCount(), 0u);
    EXPECT_EQ(PixelsOf(*first), Pixels{kRed});  // the reader's copy outlives the forgetting
    FillIndexed(*f0, {G});
    EXPECT_EQ(Shown(*f0), Pixels{kGreen});
    EXPECT_EQ(compositor->Compositions(), 2u);
}

TEST_F(CompositorTest, CachedPictureNeverComposes) {
    SetScreen(1, 1);
    Gif* f0 = Frame(1, 1, 0, 0, {R});
    EXPECT_EQ(compositor->CachedDisplayBitmap(*f0), nullptr);
    EXPECT_EQ(compositor->Compositions(), 0u);
    compositor->ComposeFrame(*f0);
    compositor->ComposeFrame(*f0);  // current already
    EXPECT_EQ(compositor->Compositions(), 1u);
    ASSERT_NE(compositor->CachedDisplayBitmap(*f0), nullptr);
    MarkPictureChanged(doc, *f0);
    EXPECT_EQ(compositor->CachedDisplayBitmap(*f0), nullptr) << "stale pictures are not handed out";
    EXPECT_EQ(compositor->Compositions(), 1u);
}

TEST_F(CompositorTest, PicturesComposedForAnotherScreenSizeAreComposedAgain) {
    SetScreen(2, 1);
    Gif* f0 = Frame(2, 1, 0, 0, {G, G});
    Gif* f1 = Frame(1, 1, 1, 0, {R});
    Shown(*f0);
    Shown(*f1);
    SetScreen(3, 1);  // no stamp raised: the size alone tells
    EXPECT_EQ(Shown(*f1), (Pixels{kGreen, kRed, kBack}));
    EXPECT_EQ(Shown(*f0), (Pixels{kGreen, kGreen, kBack}));
}

TEST_F(CompositorTest, ChangesOnlyShowOnceTheirStampIsRaised) {
    SetScreen(1, 1);
    Gif* f0 = Frame(1, 1, 0, 0, {R});
    Shown(*f0);
    f0->palette[R] = PaletteEntry{0, 0, 0xFF};
    EXPECT_EQ(Shown(*f0), Pixels{kRed}) << "the stamps say the kept picture is current";
    MarkPictureChanged(doc, *f0);
    EXPECT_EQ(f0->pictureStamp, doc.version);
    EXPECT_EQ(Shown(*f0), Pixels{0x0000FF});
    EXPECT_EQ(compositor->Compositions(), 2u);
}

TEST_F(CompositorTest, ForgettingTheFramesOfAChangeOrAResetDropsTheirPictures) {
    SetScreen(1, 1);
    Gif* f0 = Frame(1, 1, 0, 0, {R});
    Gif* f1 = Frame(1, 1, 0, 0, {G});
    Gif* f2 = Frame(1, 1, 0, 0, {W});
    for (Gif* gif = doc.head; gif; gif = gif->next) Shown(*gif);
    DocumentChange removal;
    removal.removed = {f1};
    compositor->DocumentChanged(removal);
    EXPECT_EQ(compositor->Cache().EntryCount(), 2u);
    EXPECT_FALSE(Cached(*f1));
    Gif* const freed[] = {f2};
    compositor->FramesFreed(freed);
    EXPECT_FALSE(Cached(*f2));
    EXPECT_TRUE(Cached(*f0));
    DocumentChange reset;
    reset.cause = DocumentChange::Cause::Reset;
    compositor->DocumentChanged(reset);
    EXPECT_EQ(compositor->Cache().EntryCount(), 0u);
}

// Eight frames on a 3 x 1 screen, all composed: f0 opaque, f1 small, f2 transparent, f3 opaque
// (with the disposal given), f4 and f5 small, f6 opaque, f7 small. Then one stamp is raised
// and the pictures still current are those that do not show the change.
TEST_F(CompositorTest, RaisedStampsMakeStaleExactlyThePicturesThatShowTheChange) {
    enum class Raise { Picture, Link, Everything };
    struct Case {
        const char* what;
        uint32_t opaqueDisposal;
        int frame;
        Raise raise;
        std::vector<bool> current;
        int shown;  // a frame to check afterwards, with its expected picture
        Pixels picture;
    };
    const std::vector<Case> cases = {
        {"an opaque frame ends the reach", DisposalDoNotDispose, 1, Raise::Picture,
         {true, false, false, true, true, true, true, true}, 2, {kGreen, kWhite, kWhite}},
        {"an opaque frame restoring the screen before it hands the change on",
         DisposalRestorePrevious, 1, Raise::Picture,
         {true, false, false, true, false, false, true, true}, 4, {kGreen, kWhite, kRed}},
        {"an opaque frame restoring the background ends the reach", DisposalRestoreBackground, 1,
         Raise::Picture, {true, false, false, true, true, true, true, true}, 4, {kBack, kBack, kRed}},
        {"a new predecessor", DisposalDoNotDispose, 2, Raise::Link,
         {true, true, false, true, true, true, true, true}, 2, {kGreen, kRed, kWhite}},
        {"a late frame", DisposalDoNotDispose, 5, Raise::Picture,
         {true, true, true, true, true, false, true, true}, 5, {kGreen, kWhite, kRed}},
        {"a value every picture shows", DisposalDoNotDispose, 0, Raise::Everything,
         std::vector<bool>(8, false), 7, {kWhite, kRed, kRed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc.Clear();
        compositor.emplace(doc, nullptr);
        SetScreen(3, 1);
        Frame(3, 1, 0, 0, {G, G, G});
        Gif* f1 = Frame(1, 1, 1, 0, {R});
        Frame(3, 1, 0, 0, {T, T, W}, DisposalDoNotDispose, true);
        Frame(3, 1, 0, 0, {W, W, W}, c.opaqueDisposal);
        Frame(1, 1, 2, 0, {R});
        Frame(1, 1, 0, 0, {G});
        Frame(3, 1, 0, 0, {R, R, R});
        Frame(1, 1, 0, 0, {W});
        for (Gif* gif = doc.head; gif; gif = gif->next) compositor->ComposeFrame(*gif);
        ASSERT_EQ(compositor->Compositions(), 8u);

        Gif& changed = *doc.FrameAt(static_cast<std::size_t>(c.frame));
        if (&changed == f1) FillIndexed(*f1, {W});
        switch (c.raise) {
            case Raise::Picture: MarkPictureChanged(doc, changed); break;
            case Raise::Link: changed.linkStamp = ++doc.version; break;
            case Raise::Everything: MarkAllPicturesChanged(doc); break;
        }
        std::vector<bool> current;
        for (Gif* gif = doc.head; gif; gif = gif->next) current.push_back(Cached(*gif));
        EXPECT_EQ(current, c.current);
        EXPECT_EQ(Shown(*doc.FrameAt(static_cast<std::size_t>(c.shown))), c.picture);
        // Each stale picture is composed once more, the current ones not at all.
        for (Gif* gif = doc.head; gif; gif = gif->next) Shown(*gif);
        const auto stale = static_cast<std::size_t>(std::count(current.begin(), current.end(), false));
        EXPECT_EQ(compositor->Compositions(), 8u + stale);
    }
}

// --- against a plainly simulated viewer -----------------------------------------------------

TEST_F(CompositorTest, EveryFrameInAnyOrderMatchesAViewerShowingThemInOrder) {
    testing::BuildMixedScene(doc, 40);
    const std::vector<Pixels> expected = testing::SimulateViewer(doc);
    const std::size_t count = expected.size();
    for (std::size_t i = count; i-- > 0;)
        EXPECT_EQ(Shown(*doc.FrameAt(i)), expected[i]) << "backwards, frame " << i;
    EXPECT_EQ(compositor->Compositions(), count);
    MarkAllPicturesChanged(doc);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t k = (i * 17) % count;  // scattered: 17 is prime to 40
        EXPECT_EQ(Shown(*doc.FrameAt(k)), expected[k]) << "scattered, frame " << k;
    }
    EXPECT_EQ(compositor->Compositions(), 2 * count);
}

TEST_F(CompositorTest, LongTransparentChainComposesWithoutRecursion) {
    constexpr int kFrames = 100000;
    SetScreen(1, 1);
    Gif* last = Frame(1, 1, 0, 0, {R});
    for (int i = 1; i < kFrames; ++i) {  // linked here: appending walks the whole list
        Gif* gif = CreateGif(doc, last, nullptr);
        last->next = gif;
        AllocIndexed(*gif, 1, 1);
        gif->transparent = 1;
        gif->transparentIndex = 0;
        last = gif;
    }
    EXPECT_EQ(Shown(*last), Pixels{kRed});
}

// --- background jobs ------------------------------------------------------------------------

TEST_F(CompositorTest, JobsAndTheInterfaceThreadComposeTogether) {
    testing::BuildMixedScene(doc, 60);
    const std::vector<Pixels> expected = testing::SimulateViewer(doc);
    const std::size_t count = expected.size();
    UseScheduler(4);
    for (int round = 0; round < 3; ++round) {
        compositor->StartCompositions(doc.head, count);
        // Every other frame, backwards: the interface thread asks for frames whose jobs have
        // not run yet and races the jobs composing the frames before them.
        for (std::size_t i = count - 1 - round % 2; i < count; i -= 2)
            ASSERT_EQ(Shown(*doc.FrameAt(i)), expected[i]) << "round " << round << " frame " << i;
        compositor->WaitForCompositions();
        for (std::size_t i = 0; i < count; ++i) {
            const auto picture = CachedPicture(*doc.FrameAt(i));
            ASSERT_NE(picture, nullptr) << "round " << round << " frame " << i;
            ASSERT_EQ(PixelsOf(*picture), expected[i]) << "round " << round << " frame " << i;
        }
        // No frame is composed twice in a round: a job gives way to the interface thread.
        EXPECT_EQ(compositor->Compositions(), (round + 1) * count) << "round " << round;
        MarkAllPicturesChanged(doc);
    }
}

TEST_F(CompositorTest, FreeingAFrameCancelsItsQueuedJob) {
    testing::BuildMixedScene(doc, 12);
    UseScheduler(1);
    std::promise<void> held, release;
    scheduler->Submit([&, go = release.get_future().share()] {
        held.set_value();
        go.wait();
    });
    held.get_future().wait();
    compositor->StartCompositions(doc.head, doc.FrameCount());  // all but the first queued
    Gif* last = doc.LastFrame();
    last->prev->next = nullptr;
    Gif* const freed[] = {last};
    compositor->FramesFreed(freed);
    DiscardGif(last);  // a job still queued for it would read freed memory
    release.set_value();
    compositor->WaitForCompositions();
    EXPECT_EQ(compositor->Cache().EntryCount(), 11u);
    for (Gif* gif = doc.head; gif; gif = gif->next) EXPECT_TRUE(Cached(*gif));
}

// While the owner changes the document (holding its lock), queued jobs give up instead of
// reading it; the frames are composed when asked for.
TEST_F(CompositorTest, JobsGiveUpWhileTheDocumentChanges) {
    testing::BuildMixedScene(doc, 12);
    const std::vector<Pixels> expected = testing::SimulateViewer(doc);
    compositor.reset();
    scheduler.emplace(2);
    DocumentLock lock;
    compositor.emplace(doc, &*scheduler, &lock);
    {
        ExclusiveDocumentLock change(&lock);
        compositor->StartCompositions(doc.head, doc.FrameCount());
        compositor->WaitForCompositions();
    }
    EXPECT_EQ(compositor->Compositions(), 1u);
    EXPECT_TRUE(Cached(*doc.head));  // composed by the owner
    for (Gif* gif = doc.head->next; gif; gif = gif->next) EXPECT_FALSE(Cached(*gif));

    compositor->StartCompositions(doc.head, doc.FrameCount());
    compositor->WaitForCompositions();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto picture = CachedPicture(*doc.FrameAt(i));
        ASSERT_NE(picture, nullptr) << "frame " << i;
        EXPECT_EQ(PixelsOf(*picture), expected[i]) << "frame " << i;
    }
    EXPECT_EQ(compositor->Compositions(), expected.size());
}

}  // namespace
}  // namespace anitrope
