#include "quantize/color_reduction.h"

#include <gtest/gtest.h>

#include <future>
#include <latch>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "model/resize.h"
#include "model/status_display.h"
#include "model/true_color_conversion.h"
#include "quantize/reduce_pixels.h"
#include "support/temp_file.h"
#include "support/pool_gate.h"

namespace anitrope {
namespace {

using test::PoolGate;

std::unique_ptr<TrueColorBitmap> RandomPixels(unsigned seed, int32_t width, int32_t height) {
    std::mt19937 random(seed);
    auto pixels = std::make_unique<TrueColorBitmap>(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) pixels->Set(x, y, random() & 0x3F3F3F);
    }
    return pixels;
}

// Appends `count` frames awaiting reduction, each with pixels of its own.
void AppendPendingFrames(Animation& doc, int count, int32_t width = 24, int32_t height = 16) {
    Gif* last = doc.LastFrame();
    for (int i = 0; i < count; ++i) {
        Gif* gif = CreateGif(doc, last, nullptr);
        (last ? last->next : doc.head) = gif;
        gif->width = static_cast<uint32_t>(width);
        gif->height = static_cast<uint32_t>(height);
        gif->trueColor = RandomPixels(static_cast<unsigned>(doc.FrameCount()), width, height);
        gif->indexed = std::make_unique<IndexedBitmap>(gif, width, height);
        SetIndexedReady(*gif, 0);
        last = gif;
    }
    doc.screenWidth = width;
    doc.screenHeight = height;
}

std::vector<uint8_t> Indices(const Gif& gif) {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < gif.indexed->Height(); ++y)
        for (int32_t x = 0; x < gif.indexed->Width(); ++x) out.push_back(gif.indexed->Get(x, y));
    return out;
}

// What the worker must publish: the same reduction done on a copy, on this thread.
std::vector<uint8_t> ReducedOnThisThread(Gif& gif) {
    Gif copy(nullptr);
    copy.width = gif.width;
    copy.height = gif.height;
    copy.trueColor = std::make_unique<TrueColorBitmap>(gif.trueColor->Width(), gif.trueColor->Height());
    for (int32_t y = 0; y < copy.trueColor->Height(); ++y)
        for (int32_t x = 0; x < copy.trueColor->Width(); ++x)
            copy.trueColor->Set(x, y, gif.trueColor->Get(x, y));
    copy.indexed = std::make_unique<IndexedBitmap>(&copy, copy.width, copy.height);
    EXPECT_TRUE(ReducePixels(copy));
    return Indices(copy);
}


// Returns once the pool's only thread has run everything queued so far. Waiting through the
// scheduler would run queued jobs on this thread instead, out of the pool's order.
void DrainPool(JobScheduler& scheduler) {
    std::promise<void> drained;
    scheduler.Submit([&] { drained.set_value(); }, JobPriority::Background);
    drained.get_future().wait();
}

// Records which frames were published, in order, and on which threads reductions ran.
struct Journal {
    std::mutex lock;
    std::vector<Gif*> published;
    std::set<std::thread::id> threads;

    std::function<void(Gif&, ColorReduction::Step)> Observer() {
        return [this](Gif& gif, ColorReduction::Step step) {
            std::lock_guard guard(lock);
            threads.insert(std::this_thread::get_id());
            if (step == ColorReduction::Step::Published) published.push_back(&gif);
        };
    }
};

// One pool thread held by a gate, so that reductions stay queued until the test lets them run;
// a journal of what was published.
class HeldPool : public ::testing::Test {
protected:
    HeldPool() { doc.status = &status; }
    // Appends `frames` pending frames, holds the pool and starts their reductions.
    void StartHeld(int frames, int32_t width = 24, int32_t height = 16) {
        AppendPendingFrames(doc, frames, width, height);
        reduction.SetObserver(journal.Observer());
        Hold();
        StartReductions(doc.head, static_cast<std::size_t>(frames));
    }
    void Hold() { gate.emplace(scheduler); }
    // Lets the pool run everything queued and waits until it has.
    void RunHeld() {
        gate->Release();
        DrainPool(scheduler);
    }
    std::vector<Gif*> Frames(std::initializer_list<std::size_t> indices) {
        std::vector<Gif*> frames;
        for (std::size_t i : indices) frames.push_back(doc.FrameAt(i));
        return frames;
    }

    StatusDisplay status;  // outlives the document, whose frames report as they go
    JobScheduler scheduler{1};
    Animation doc;
    ColorReduction reduction{doc, &scheduler, nullptr};
    Journal journal;
    std::optional<PoolGate> gate;
};

TEST(ColorReduction, PublishesWhatAReductionOnTheInterfaceThreadWouldGive) {
    JobScheduler scheduler(2);
    Animation doc;
    AppendPendingFrames(doc, 30);
    std::vector<std::vector<uint8_t>> expected;
    for (Gif* g = doc.head; g; g = g->next) expected.push_back(ReducedOnThisThread(*g));

    ColorReduction reduction(doc, &scheduler, nullptr);
    ASSERT_EQ(StartReductions(doc.head, doc.FrameCount()), 1);
    reduction.WaitForAll();
    std::size_t i = 0;
    for (Gif* g = doc.head; g; g = g->next, ++i) {
        EXPECT_EQ(IsIndexedReady(*g), 1) << i;
        EXPECT_EQ(g->reductionFinished, 1) << i;
        EXPECT_EQ(g->usesLocalPalette, 1) << i;
        EXPECT_EQ(Indices(*g), expected[i]) << i;
        EXPECT_TRUE(g->trueColor) << "Keep TrueColorInfo is on by default";
    }
}

TEST(ColorReduction, ManyFramesKeepEveryPoolThreadBusy) {
    constexpr std::size_t kThreads = 2;
    JobScheduler scheduler(kThreads);
    Animation doc;
    AppendPendingFrames(doc, 100);
    ColorReduction reduction(doc, &scheduler, nullptr);
    Journal journal;
    // The first reductions to start meet here, which they can only do on separate threads.
    std::latch together(kThreads);
    std::atomic<int> started{0};
    auto record = journal.Observer();
    reduction.SetObserver([&](Gif& gif, ColorReduction::Step step) {
        if (step == ColorReduction::Step::Started && started++ < static_cast<int>(kThreads))
            together.arrive_and_wait();
        record(gif, step);
    });
    StartReductions(doc.head, doc.FrameCount());
    reduction.WaitForAll();
    EXPECT_EQ(journal.published.size(), 100u);
    EXPECT_GE(journal.threads.size(), kThreads);
}

TEST_F(HeldPool, WaitingForTheThirdOfFiveRunsItFirstAndItsSuccessorsFollow) {
    StartHeld(5);
    Gif* third = doc.FrameAt(2);
    WaitForReduction(*third);
    EXPECT_EQ(IsIndexedReady(*third), 1);
    for (std::size_t i : {0u, 1u, 3u, 4u}) EXPECT_EQ(IsIndexedReady(*doc.FrameAt(i)), 0) << i;
    RunHeld();
    EXPECT_EQ(journal.published, Frames({2, 3, 4, 0, 1}));
}

TEST_F(HeldPool, FramesWithPendingPredecessorsQueueBehindTheOthers) {
    // The second and third frames wait for the first; a later frame of a new, separate chain
    // whose predecessor is done goes ahead of them.
    StartHeld(3);
    Gif* done = CreateGif(doc, nullptr, nullptr);
    Gif* fresh = CreateGif(doc, done, nullptr);
    done->next = fresh;
    fresh->width = fresh->height = 4;
    fresh->trueColor = RandomPixels(9, 4, 4);
    SetIndexedReady(*fresh, 0);
    StartReductions(fresh, 1);
    RunHeld();
    EXPECT_EQ(journal.published, (std::vector<Gif*>{doc.FrameAt(0), fresh, doc.FrameAt(1), doc.FrameAt(2)}));
    DiscardGif(done);
    DiscardGif(fresh);
}

TEST_F(HeldPool, SavingWhileWorkersRunTakesTheFramesInListOrder) {
    AppendPendingFrames(doc, 4);
    std::vector<std::vector<uint8_t>> expected;
    for (Gif* g = doc.head; g; g = g->next) expected.push_back(ReducedOnThisThread(*g));
    reduction.SetObserver(journal.Observer());
    Hold();
    StartReductions(doc.head, 4);

    test::TempDir dir;
    const std::string path = dir / "saved.gif";
    ASSERT_EQ(SaveAnimation(doc, doc.head, path), GifWriteStatus::Ok);
    EXPECT_EQ(journal.published, Frames({0, 1, 2, 3}));

    Animation loaded;
    ASSERT_EQ(LoadGifDocument(loaded, path), GifReadStatus::Ok);
    ASSERT_EQ(loaded.FrameCount(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Indices(*loaded.FrameAt(i)), expected[i]) << i;
}

TEST(ColorReduction, DestroyingAFrameWhileItIsReducedStopsWithoutPublishing) {
    JobScheduler scheduler(1);
    StatusDisplay status;  // outlives the document, whose frames report as they go
    Animation doc;
    doc.status = &status;
    AppendPendingFrames(doc, 2, 64, 64);
    ColorReduction reduction(doc, &scheduler, nullptr);
    Journal journal;
    auto record = journal.Observer();
    std::promise<void> running;
    Gif* victim = doc.head;
    reduction.SetObserver([&](Gif& gif, ColorReduction::Step step) {
        record(gif, step);
        if (&gif != victim || step != ColorReduction::Step::Started) return;
        running.set_value();
        gif.abortReduction.wait(0);  // until DestroyGif asks it to stop
    });
    StartReductions(doc.head, 2);
    running.get_future().wait();
    EXPECT_EQ(status.Counters(StatusReduction).total, 2);

    DiscardGif(victim);
    DrainPool(scheduler);
    ASSERT_EQ(journal.published.size(), 1u);
    EXPECT_EQ(journal.published[0], doc.head);
    // One frame reduced, the other dropped: nothing is left outstanding.
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
}

TEST_F(HeldPool, DestroyingAQueuedFrameCancelsItsReduction) {
    StartHeld(3);
    DiscardGif(doc.FrameAt(1));
    RunHeld();
    EXPECT_EQ(journal.published, Frames({0, 1}));
}

TEST_F(HeldPool, ChangingTheTrueColourStopsTheReductionOfTheOldOne) {
    StartHeld(1);
    // An effect about to paint the frame takes it back from its queued worker.
    ASSERT_EQ(MakeTrueColor(doc.head, true), 1);
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
    RunHeld();
    EXPECT_TRUE(journal.published.empty());
    EXPECT_EQ(IsIndexedReady(*doc.head), 0);

    StartReductions(doc.head, 1);
    reduction.WaitForAll();
    EXPECT_EQ(journal.published.size(), 1u);
}

TEST(ColorReduction, WithoutKeepTrueColorInfoReducedFramesRebuildTheirTrueColour) {
    JobScheduler scheduler(2);
    Animation doc;
    AppendPendingFrames(doc, 3);
    ColorReduction reduction(doc, &scheduler, nullptr);
    reduction.SetKeepTrueColor(false);
    StartReductions(doc.head, 3);
    Gif* gif = doc.FrameAt(1);
    WaitForReduction(*gif);
    EXPECT_FALSE(gif->trueColor);

    ASSERT_EQ(MakeTrueColor(gif, false), 1);
    ASSERT_TRUE(gif->trueColor);
    EXPECT_EQ(IsIndexedReady(*gif), 1);
    const Palette& palette = gif->EffectivePalette();
    for (int32_t x = 0; x < 24; ++x)
        EXPECT_EQ(gif->trueColor->Get(x, 3), PaletteRgb(palette[gif->indexed->Get(x, 3)])) << x;
    reduction.WaitForAll();
}

TEST(ColorReduction, AFullyTransparentFrameGetsIndexZeroEverywhere) {
    Animation doc;
    AppendPendingFrames(doc, 1, 5, 3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) doc.head->trueColor->Set(x, y, TransparentBit | 0x123456);
    ColorReduction reduction(doc, nullptr, nullptr);  // runs on this thread
    StartReductions(doc.head, 1);
    EXPECT_EQ(IsIndexedReady(*doc.head), 1);
    EXPECT_EQ(doc.head->transparent, 1);
    EXPECT_EQ(doc.head->transparentIndex, 0);
    EXPECT_EQ(doc.head->hasTransparentPixels, 1);
    EXPECT_EQ(Indices(*doc.head), std::vector<uint8_t>(15, 0));
}

TEST(ColorReduction, PublishingRecomposesTheFrameFromItsIndexedPixels) {
    JobScheduler scheduler(1);
    Animation doc;
    AppendPendingFrames(doc, 1, 8, 8);
    Compositor compositor(doc, &scheduler);
    ColorReduction reduction(doc, &scheduler, &compositor);
    const auto before = compositor.GetDisplayBitmap(*doc.head);  // from the true colour
    ASSERT_TRUE(before);
    EXPECT_EQ(before->Get(3, 4), doc.head->trueColor->Get(3, 4));

    StartReductions(doc.head, 1);
    reduction.WaitForAll();
    compositor.WaitForCompositions();
    const auto after = compositor.GetDisplayBitmap(*doc.head);
    ASSERT_TRUE(after);
    EXPECT_NE(after, before);
    const Palette& palette = doc.head->EffectivePalette();
    EXPECT_EQ(after->Get(3, 4), PaletteRgb(palette[doc.head->indexed->Get(3, 4)]));
}

TEST(ColorReduction, WorkerReportsAreCountedButNotShownWhileSomeoneWaits) {
    struct View : StatusView {
        std::mutex lock;
        int progressUpdates = 0;
        void ShowStatusText(const std::string&) override {}
        void ShowProgress(int, bool) override {
            std::lock_guard guard(lock);
            ++progressUpdates;
        }
    } view;
    StatusDisplay status;
    Animation doc;
    status.Subscribe(&view);
    doc.status = &status;
    AppendPendingFrames(doc, 3);
    JobScheduler scheduler(1);
    ColorReduction reduction(doc, &scheduler, nullptr);
    {
        PoolGate gate(scheduler);
        StartReductions(doc.head, 3);
        const int shownBefore = view.progressUpdates;
        WaitForReduction(*doc.FrameAt(0));  // reduced here, inside the wait
        EXPECT_EQ(view.progressUpdates, shownBefore);
        EXPECT_EQ(status.Counters(StatusReduction).done, 1);
    }
    reduction.WaitForAll();
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
}

TEST(ColorReduction, SmoothResizeReducesAgainOnlyWhenAsked) {
    Animation doc;
    AppendPendingFrames(doc, 2, 8, 8);
    ColorReduction reduction(doc, nullptr, nullptr);
    StartReductions(doc.head, 2);
    ASSERT_TRUE(ResizeGif(*doc.head, 4, 4, true, true, false));
    EXPECT_EQ(IsIndexedReady(*doc.head), 0);
    Gif* second = doc.FrameAt(1);
    ASSERT_TRUE(ResizeGif(*second, 16, 16, true, true, true));
    EXPECT_EQ(IsIndexedReady(*second), 1);
    EXPECT_EQ(second->indexed->Width(), 16);
}

TEST(ColorReduction, DestroyingTheWorkersStopsEveryQueuedReduction) {
    JobScheduler scheduler(1);
    Animation doc;
    AppendPendingFrames(doc, 4);
    {
        PoolGate gate(scheduler);
        ColorReduction reduction(doc, &scheduler, nullptr);
        StartReductions(doc.head, 4);
        EXPECT_EQ(doc.reduction, &reduction);
    }
    EXPECT_EQ(doc.reduction, nullptr);
    for (Gif* g = doc.head; g; g = g->next) {
        EXPECT_EQ(IsIndexedReady(*g), 0);
        EXPECT_EQ(g->reductionFinished, 1);
    }
}

}  // namespace
}  // namespace anitrope
