#include "quantize/color_reduction.h"

#include <gtest/gtest.h>

#include <atomic>
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
#include "model/document.h"
#include "model/gif.h"
#include "model/resize.h"
#include "model/status_display.h"
#include "model/true_color_conversion.h"
#include "quantize/reduce_pixels.h"
#include "support/pool_gate.h"
#include "support/temp_file.h"

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

// Starts the reduction of every frame from `first` on, as a document does for new frames.
void StartAll(ColorReduction& reduction, Gif* first) {
    for (Gif* g = first; g; g = g->next) EXPECT_TRUE(reduction.Start(*g));
}

// Takes the frame out of its document's list and frees it, as a document does once the
// workers have forgotten it.
void FreeFrame(Animation& doc, Gif* gif) {
    (gif->prev ? gif->prev->next : doc.head) = gif->next;
    if (gif->next) gif->next->prev = gif->prev;
    gif->prev = gif->next = nullptr;
    DiscardGif(gif);
}

std::vector<uint8_t> Indices(const Gif& gif) {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < gif.indexed->Height(); ++y)
        for (int32_t x = 0; x < gif.indexed->Width(); ++x) out.push_back(gif.indexed->Get(x, y));
    return out;
}

// What the workers must hand over: the same reduction done on a copy, on this thread.
std::vector<uint8_t> ReducedOnThisThread(const Gif& gif) {
    Gif copy(nullptr);
    copy.width = gif.width;
    copy.height = gif.height;
    copy.trueColor = std::make_unique<TrueColorBitmap>(gif.trueColor->Width(), gif.trueColor->Height());
    for (int32_t y = 0; y < copy.trueColor->Height(); ++y)
        for (int32_t x = 0; x < copy.trueColor->Width(); ++x)
            copy.trueColor->Set(x, y, gif.trueColor->Get(x, y));
    copy.keepColors = gif.keepColors;
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

// Records which reductions started and which results were applied, each in order, and on
// which threads each happened.
struct Journal {
    std::mutex lock;
    std::vector<const Gif*> started;
    std::vector<const Gif*> applied;
    std::set<std::thread::id> startThreads;
    std::set<std::thread::id> applyThreads;

    std::function<void(const Gif&, ColorReduction::Step)> Observer() {
        return [this](const Gif& gif, ColorReduction::Step step) {
            std::lock_guard guard(lock);
            if (step == ColorReduction::Step::Started) {
                started.push_back(&gif);
                startThreads.insert(std::this_thread::get_id());
            } else {
                applied.push_back(&gif);
                applyThreads.insert(std::this_thread::get_id());
            }
        };
    }
};

// One pool thread held by a gate, so that reductions stay queued until the test lets them run;
// a journal of what started and what was applied.
class HeldPool : public ::testing::Test {
protected:
    // Appends `frames` pending frames, holds the pool and starts their reductions.
    void StartHeld(int frames, int32_t width = 24, int32_t height = 16) {
        AppendPendingFrames(doc, frames, width, height);
        reduction.SetObserver(journal.Observer());
        Hold();
        status.ReportStatus(StatusWorkAnnounced, StatusReduction, frames);
        StartAll(reduction, doc.head);
    }
    void Hold() { gate.emplace(scheduler); }
    // Lets the pool run everything queued and waits until it has.
    void RunHeld() {
        gate->Release();
        DrainPool(scheduler);
    }
    std::vector<const Gif*> Frames(std::initializer_list<std::size_t> indices) {
        std::vector<const Gif*> frames;
        for (std::size_t i : indices) frames.push_back(doc.FrameAt(i));
        return frames;
    }
    std::vector<int32_t> Ready() {
        std::vector<int32_t> ready;
        for (Gif* g = doc.head; g; g = g->next) ready.push_back(IsIndexedReady(*g));
        return ready;
    }

    StatusDisplay status;
    JobScheduler scheduler{1};
    Animation doc;
    Journal journal;  // outlives the workers, which tell it until they are gone
    ColorReduction reduction{&scheduler, &status};
    std::optional<PoolGate> gate;  // opened first, so that the workers stop what it held
};

TEST(ColorReduction, AppliesWhatAReductionOnTheOwnersThreadWouldGive) {
    JobScheduler scheduler(2);
    Animation doc;
    AppendPendingFrames(doc, 30);
    doc.FrameAt(4)->keepColors = {0x204060, -1, -1, -1, -1};
    std::vector<std::vector<uint8_t>> expected;
    for (Gif* g = doc.head; g; g = g->next) expected.push_back(ReducedOnThisThread(*g));

    ColorReduction reduction(&scheduler);
    StartAll(reduction, doc.head);
    // The same true colour is reduced once.
    EXPECT_FALSE(reduction.Start(*doc.head));
    reduction.WaitForAll();
    std::size_t i = 0;
    for (Gif* g = doc.head; g; g = g->next, ++i) {
        EXPECT_EQ(IsIndexedReady(*g), 1) << i;
        EXPECT_FALSE(reduction.Busy(*g)) << i;
        EXPECT_EQ(g->usesLocalPalette, 1) << i;
        EXPECT_EQ(Indices(*g), expected[i]) << i;
        EXPECT_TRUE(g->trueColor) << "Keep TrueColorInfo is on by default";
    }
    EXPECT_EQ(doc.FrameAt(4)->palette[0], (PaletteEntry{0x20, 0x40, 0x60}));
}

TEST(ColorReduction, ManyFramesKeepEveryPoolThreadBusy) {
    constexpr std::size_t kThreads = 2;
    JobScheduler scheduler(kThreads);
    Animation doc;
    AppendPendingFrames(doc, 100);
    ColorReduction reduction(&scheduler);
    Journal journal;
    // The first reductions to start meet here, which they can only do on separate threads.
    std::latch together(kThreads);
    std::atomic<int> started{0};
    std::atomic<int> ready{0};
    auto record = journal.Observer();
    reduction.SetObserver([&](const Gif& gif, ColorReduction::Step step) {
        if (step == ColorReduction::Step::Started && started++ < static_cast<int>(kThreads))
            together.arrive_and_wait();
        record(gif, step);
    });
    reduction.SetResultReady([&] { ++ready; });
    StartAll(reduction, doc.head);
    reduction.WaitForAll();
    EXPECT_EQ(journal.applied.size(), 100u);
    EXPECT_EQ(ready.load(), 100) << "one call for every result";
    EXPECT_GE(journal.startThreads.size(), kThreads);
    EXPECT_EQ(journal.applyThreads, std::set{std::this_thread::get_id()});
}

// Results wait for the owner: Wait applies the frame's, ApplyFinished the ready ones in the
// order their reductions started.
TEST_F(HeldPool, WaitingForTheThirdOfFiveRunsItFirstAndItsSuccessorsFollow) {
    StartHeld(5);
    Gif* third = doc.FrameAt(2);
    reduction.Wait(*third);
    EXPECT_EQ(Ready(), (std::vector<int32_t>{0, 0, 1, 0, 0}));
    EXPECT_EQ(journal.applied, Frames({2}));
    RunHeld();
    EXPECT_EQ(journal.started, Frames({2, 3, 4, 0, 1}));
    EXPECT_EQ(Ready(), (std::vector<int32_t>{0, 0, 1, 0, 0})) << "nothing applied behind our back";
    for (std::size_t i : {0u, 1u, 3u, 4u}) EXPECT_TRUE(reduction.Busy(*doc.FrameAt(i))) << i;
    reduction.ApplyFinished();
    EXPECT_EQ(Ready(), (std::vector<int32_t>(5, 1)));
    EXPECT_EQ(journal.applied, Frames({2, 0, 1, 3, 4}));
    EXPECT_EQ(journal.applyThreads, std::set{std::this_thread::get_id()});
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
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
    EXPECT_TRUE(reduction.Start(*fresh));
    RunHeld();
    EXPECT_EQ(journal.started,
              (std::vector<const Gif*>{doc.FrameAt(0), fresh, doc.FrameAt(1), doc.FrameAt(2)}));
    reduction.ApplyFinished();
    EXPECT_EQ(journal.applied,
              (std::vector<const Gif*>{doc.FrameAt(0), doc.FrameAt(1), doc.FrameAt(2), fresh}));
    DiscardGif(done);
    DiscardGif(fresh);
}

// Saving refuses frames that await their reduction; waiting for all of them first reduces
// them in list order, even with the pool held.
TEST_F(HeldPool, SavingNeedsTheReductionsDoneAndWaitingTakesThemInListOrder) {
    AppendPendingFrames(doc, 4);
    std::vector<std::vector<uint8_t>> expected;
    for (Gif* g = doc.head; g; g = g->next) expected.push_back(ReducedOnThisThread(*g));
    reduction.SetObserver(journal.Observer());
    Hold();
    StartAll(reduction, doc.head);

    test::TempDir dir;
    const std::string path = dir / "saved.gif";
    EXPECT_EQ(SaveAnimation(doc, doc.head, path), GifWriteStatus::FramePending);
    reduction.WaitForAll();
    EXPECT_EQ(journal.started, Frames({0, 1, 2, 3}));
    EXPECT_EQ(journal.startThreads, std::set{std::this_thread::get_id()});
    ASSERT_EQ(SaveAnimation(doc, doc.head, path), GifWriteStatus::Ok);

    Animation loaded;
    ASSERT_EQ(LoadGifDocument(loaded, path), GifReadStatus::Ok);
    ASSERT_EQ(loaded.FrameCount(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Indices(*loaded.FrameAt(i)), expected[i]) << i;
}

TEST(ColorReduction, AFrameForgottenWhileItIsReducedIsFreedAndItsResultDropped) {
    JobScheduler scheduler(1);
    StatusDisplay status;
    Animation doc;
    AppendPendingFrames(doc, 2, 64, 64);
    ColorReduction reduction(&scheduler, &status);
    Journal journal;
    auto record = journal.Observer();
    std::promise<void> running, release;
    std::shared_future<void> released = release.get_future().share();
    Gif* victim = doc.head;
    reduction.SetObserver([&, victim](const Gif& gif, ColorReduction::Step step) {
        record(gif, step);
        if (&gif != victim || step != ColorReduction::Step::Started) return;
        running.set_value();
        released.wait();
    });
    status.ReportStatus(StatusWorkAnnounced, StatusReduction, 2);
    StartAll(reduction, doc.head);
    running.get_future().wait();

    reduction.Forget(*victim);
    EXPECT_FALSE(reduction.Busy(*victim));
    FreeFrame(doc, victim);  // the running reduction reads its own reference, not the frame
    release.set_value();
    reduction.WaitForAll();
    EXPECT_EQ(journal.applied, std::vector<const Gif*>{doc.head});
    EXPECT_EQ(IsIndexedReady(*doc.head), 1);
    // One frame reduced, the other dropped: nothing is left outstanding.
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
}

TEST_F(HeldPool, AForgottenQueuedFrameNeverStarts) {
    StartHeld(3);
    Gif* second = doc.FrameAt(1);
    reduction.Forget(*second);
    FreeFrame(doc, second);
    RunHeld();
    reduction.ApplyFinished();
    EXPECT_EQ(journal.started, Frames({0, 1}));
    EXPECT_EQ(journal.applied, Frames({0, 1}));
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
}

// A result is for the true colour it was made from: one whose frame got another meanwhile is
// dropped and reported as dropped (not as reduced).
TEST_F(HeldPool, AResultForAnOldTrueColourIsDropped) {
    StartHeld(1);
    status.ReportStatus(StatusWorkAnnounced, StatusReduction, 2);  // three frames in all
    RunHeld();
    ASSERT_EQ(journal.started.size(), 1u);
    doc.head->trueColor = RandomPixels(77, 24, 16);  // an effect painted the frame
    reduction.ApplyFinished();
    EXPECT_TRUE(journal.applied.empty());
    EXPECT_EQ(IsIndexedReady(*doc.head), 0);
    EXPECT_FALSE(reduction.Busy(*doc.head));
    EXPECT_EQ(status.Counters(StatusReduction).total, 2);  // a reduced frame would leave 3

    const std::vector<uint8_t> expected = ReducedOnThisThread(*doc.head);
    EXPECT_TRUE(reduction.Start(*doc.head));
    reduction.WaitForAll();
    EXPECT_EQ(journal.applied, Frames({0}));
    EXPECT_EQ(Indices(*doc.head), expected);
}

TEST_F(HeldPool, StartingAgainWithAnotherTrueColourReplacesTheQueuedReduction) {
    StartHeld(1);
    doc.head->trueColor = RandomPixels(78, 24, 16);
    const std::vector<uint8_t> expected = ReducedOnThisThread(*doc.head);
    EXPECT_TRUE(reduction.Start(*doc.head));
    EXPECT_FALSE(reduction.Start(*doc.head)) << "that one is queued already";
    RunHeld();
    reduction.ApplyFinished();
    EXPECT_EQ(journal.started.size(), 1u) << "the old reduction was cancelled";
    EXPECT_EQ(journal.applied, Frames({0}));
    EXPECT_EQ(Indices(*doc.head), expected);
}

TEST(ColorReduction, WithoutKeepTrueColorInfoReducedFramesRebuildTheirTrueColour) {
    JobScheduler scheduler(2);
    Animation doc;
    AppendPendingFrames(doc, 3);
    ColorReduction reduction(&scheduler);
    reduction.SetKeepTrueColor(false);
    EXPECT_FALSE(reduction.KeepsTrueColor());
    StartAll(reduction, doc.head);
    Gif* gif = doc.FrameAt(1);
    reduction.Wait(*gif);
    EXPECT_EQ(IsIndexedReady(*gif), 1);
    EXPECT_FALSE(gif->trueColor);

    ASSERT_EQ(MakeTrueColor(gif, false), 1);
    ASSERT_TRUE(gif->trueColor);
    EXPECT_EQ(IsIndexedReady(*gif), 1);
    const Palette& palette = EffectivePalette(*gif);
    for (int32_t x = 0; x < 24; ++x)
        EXPECT_EQ(gif->trueColor->Get(x, 3), PaletteRgb(palette[gif->indexed->Get(x, 3)])) << x;
    reduction.WaitForAll();
}

TEST(ColorReduction, WithoutASchedulerTheReductionRunsAtOnceAndItsResultWaits) {
    Animation doc;
    AppendPendingFrames(doc, 1, 5, 3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) doc.head->trueColor->Set(x, y, TransparentBit | 0x123456);
    ColorReduction reduction(nullptr);
    Journal journal;
    reduction.SetObserver(journal.Observer());
    EXPECT_TRUE(reduction.Start(*doc.head));
    EXPECT_EQ(journal.started.size(), 1u);
    EXPECT_EQ(IsIndexedReady(*doc.head), 0);
    EXPECT_TRUE(reduction.Busy(*doc.head));
    reduction.ApplyFinished();
    // A fully transparent frame gets index 0 everywhere.
    EXPECT_EQ(IsIndexedReady(*doc.head), 1);
    EXPECT_EQ(doc.head->transparent, 1);
    EXPECT_EQ(doc.head->transparentIndex, 0);
    EXPECT_EQ(doc.head->hasTransparentPixels, 1);
    EXPECT_EQ(Indices(*doc.head), std::vector<uint8_t>(15, 0));
}

// Status reports come from the owner's thread only, as results are applied or dropped.
TEST(ColorReduction, ReportsComeFromTheOwnersThread) {
    struct View : StatusView {
        std::mutex lock;
        std::set<std::thread::id> threads;
        void ShowStatusText(const std::string&) override { Seen(); }
        void ShowProgress(int, bool) override { Seen(); }
        void Seen() {
            std::lock_guard guard(lock);
            threads.insert(std::this_thread::get_id());
        }
    } view;
    StatusDisplay status;
    status.Subscribe(&view);
    Animation doc;
    AppendPendingFrames(doc, 3);
    JobScheduler scheduler(1);
    ColorReduction reduction(&scheduler, &status);
    {
        PoolGate gate(scheduler);
        status.ReportStatus(StatusWorkAnnounced, StatusReduction, 3);
        StartAll(reduction, doc.head);
        reduction.Wait(*doc.FrameAt(0));  // reduced here, inside the wait
        EXPECT_EQ(status.Counters(StatusReduction).done, 1);
    }
    reduction.WaitForAll();
    EXPECT_EQ(status.Counters(StatusReduction).total, 0);
    EXPECT_EQ(view.threads, std::set{std::this_thread::get_id()});
}

TEST(ColorReduction, ReduceNowReducesThePendingFramesAndLeavesTheOthers) {
    JobScheduler scheduler(2);
    Animation doc;
    AppendPendingFrames(doc, 6, 12, 8);
    ColorReduction reduction(&scheduler);
    reduction.SetKeepTrueColor(false);
    // A smooth resize leaves the frame for its owner to reduce.
    ASSERT_TRUE(ResizeGif(*doc.head, 16, 16, true, true));
    EXPECT_EQ(IsIndexedReady(*doc.head), 0);
    ASSERT_TRUE(ReducePixels(*doc.FrameAt(5)));  // reduced already: left alone
    const IndexedBitmap* reduced = doc.FrameAt(5)->indexed.get();
    std::vector<std::vector<uint8_t>> expected;
    std::vector<Gif*> frames;
    for (Gif* g = doc.head; g; g = g->next) {
        expected.push_back(AwaitsReduction(*g) ? ReducedOnThisThread(*g) : Indices(*g));
        frames.push_back(g);
    }
    frames.push_back(nullptr);
    reduction.ReduceNow(frames);
    std::size_t i = 0;
    for (Gif* g = doc.head; g; g = g->next, ++i) {
        EXPECT_EQ(IsIndexedReady(*g), 1) << i;
        EXPECT_EQ(Indices(*g), expected[i]) << i;
        EXPECT_FALSE(reduction.Busy(*g)) << "not one of the background reductions";
        EXPECT_EQ(g->trueColor == nullptr, i != 5) << i;
    }
    EXPECT_EQ(doc.head->indexed->Width(), 16);
    EXPECT_EQ(doc.FrameAt(5)->indexed.get(), reduced);
}

// Eight frames of a slow fade, but the fifth is another picture: the fade's frames pass their
// palette on, the odd one and the frame after it choose their own. The outcome does not
// depend on how the reductions ran: at once, in the background on one or two threads, waited
// for from the last frame back, or in two batches with the first one applied before the
// second starts.
TEST(ColorReduction, HighQualityFadesShareTheirPaletteWhateverTheThreads) {
    const ReductionOptions high{ReductionMethod::HighQuality, false};
    const auto makeFade = [](Animation& doc) {
        AppendPendingFrames(doc, 8, 48, 32);
        int i = 0;
        for (Gif* g = doc.head; g; g = g->next, ++i) {
            const double shade = 1 - 0.001 * i;
            const auto c = [&](int v) { return static_cast<uint32_t>(v * shade); };
            for (int32_t y = 0; y < 32; ++y)
                for (int32_t x = 0; x < 48; ++x)
                    g->trueColor->Set(x, y,
                                      i == 4 ? (x * 37 + y * 91) % 256 * 0x010101u ^ 0x00FF00u
                                             : c(x * 5) << 16 | c(y * 7) << 8 | c(90 + x + y));
        }
    };
    const auto outcome = [](Animation& doc) {
        std::vector<std::pair<Palette, std::vector<uint8_t>>> frames;
        for (Gif* g = doc.head; g; g = g->next) frames.emplace_back(g->palette, Indices(*g));
        return frames;
    };
    Animation reference;
    makeFade(reference);
    ColorReduction atOnce(nullptr);
    atOnce.SetOptions(high);
    atOnce.ReduceNow(ChainFrames(reference.head));
    const auto expected = outcome(reference);
    for (std::size_t i : {1u, 2u, 3u, 7u})
        EXPECT_EQ(expected[i].first, expected[i - 1].first) << "frame " << i;
    for (std::size_t i : {4u, 5u})
        EXPECT_NE(expected[i].first, expected[i - 1].first) << "frame " << i;

    enum class Way { InOrder, FromTheEnd, InTwoBatches };
    for (std::size_t threads : {1u, 2u}) {
        for (Way way : {Way::InOrder, Way::FromTheEnd, Way::InTwoBatches}) {
            SCOPED_TRACE(::testing::Message()
                         << threads << " threads, way " << static_cast<int>(way));
            JobScheduler scheduler(threads);
            Animation doc;
            makeFade(doc);
            ColorReduction reduction(&scheduler);
            reduction.SetOptions(high);
            if (way == Way::InTwoBatches) {
                for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(reduction.Start(*doc.FrameAt(i)));
                reduction.WaitForAll();
                StartAll(reduction, doc.FrameAt(3));
            } else {
                StartAll(reduction, doc.head);
            }
            if (way == Way::FromTheEnd) reduction.Wait(*doc.LastFrame());
            reduction.WaitForAll();
            EXPECT_EQ(outcome(doc), expected);
        }
    }
}

// --- with a document ---------------------------------------------------------------------------

struct ChangeLog : DocumentObserver {
    std::vector<DocumentChange> changes;
    void DocumentChanged(const DocumentChange& change) override { changes.push_back(change); }
};

// Keeps an observer on a document for its scope.
class Subscription {
public:
    Subscription(Document& document, DocumentObserver& observer)
        : document_(document), observer_(observer) {
        document_.Subscribe(&observer_);
    }
    ~Subscription() { document_.Unsubscribe(&observer_); }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

private:
    Document& document_;
    DocumentObserver& observer_;
};

// Results go through the document: the frame's stamp rises, so that its picture is composed
// again from the indexed pixels, observers hear of a reduction, and nothing becomes an edit.
TEST(ColorReduction, ResultsAreAppliedThroughTheAttachedDocument) {
    JobScheduler scheduler(1);
    Document document;
    Compositor compositor(document.Data(), &scheduler, &document.Lock());
    ChangeLog log;
    Subscription composing(document, compositor), logging(document, log);
    ColorReduction reduction(&scheduler);
    reduction.Attach(&document);
    ASSERT_EQ(document.Workers(), &reduction);

    Animation content;
    AppendPendingFrames(content, 1, 8, 8);
    document.Reset(content);  // starts the reduction
    Gif& frame = *document.Data().head;
    EXPECT_TRUE(reduction.Busy(frame));
    const auto before = compositor.GetDisplayBitmap(frame);  // from the true colour
    ASSERT_TRUE(before);
    EXPECT_EQ(before->Get(3, 4), frame.trueColor->Get(3, 4));
    const uint64_t stamp = frame.pictureStamp;

    log.changes.clear();
    document.WaitForReductions();
    EXPECT_EQ(IsIndexedReady(frame), 1);
    EXPECT_GT(frame.pictureStamp, stamp);
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].cause, DocumentChange::Cause::Reduction);
    EXPECT_EQ(log.changes[0].changed, std::vector<Gif*>{&frame});
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.Modified());

    const auto after = compositor.GetDisplayBitmap(frame);
    ASSERT_TRUE(after);
    EXPECT_NE(after, before);
    const Palette& palette = EffectivePalette(frame);
    EXPECT_EQ(after->Get(3, 4), PaletteRgb(palette[frame.indexed->Get(3, 4)]));
}

// Inside an edit nothing arrives: the results wait for the edit to end.
TEST(ColorReduction, ResultsWaitForAnOpenEdit) {
    Document document;
    ColorReduction reduction(nullptr);  // every result is ready at once
    reduction.Attach(&document);
    Animation content;
    AppendPendingFrames(content, 2, 4, 4);
    document.Reset(content);
    Gif& first = *document.Data().head;
    {
        Transaction edit(document, "Delay");
        edit.Set(first, &Gif::delay, 7);
        reduction.ApplyFinished();
        EXPECT_EQ(IsIndexedReady(first), 0);
    }
    EXPECT_EQ(IsIndexedReady(first), 1);
    EXPECT_EQ(IsIndexedReady(*first.next), 1);
}

TEST(ColorReduction, DestroyingTheWorkersStopsEveryQueuedReductionAndDetachesThem) {
    JobScheduler scheduler(1);
    Document document;
    Animation content;
    AppendPendingFrames(content, 4);
    std::atomic<int> started{0};
    {
        PoolGate gate(scheduler);
        ColorReduction reduction(&scheduler);
        reduction.SetObserver([&](const Gif&, ColorReduction::Step) { ++started; });
        reduction.Attach(&document);
        document.Reset(content);
        for (Gif* g = document.Data().head; g; g = g->next) EXPECT_TRUE(reduction.Busy(*g));
    }
    EXPECT_EQ(document.Workers(), nullptr);
    DrainPool(scheduler);
    EXPECT_EQ(started.load(), 0);
    document.WaitForReductions();  // nobody to wait for: returns at once
    for (Gif* g = document.Data().head; g; g = g->next) EXPECT_TRUE(AwaitsReduction(*g));
}

}  // namespace
}  // namespace anitrope
