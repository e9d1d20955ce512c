#include "gif/animation_optimizer.h"

#include <gtest/gtest.h>

#include <random>

#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "gif/optimize_progress.h"
#include "optimizer_fixtures.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"
#include "support/animation_dump.h"
#include "support/gif_loading.h"
#include "support/giflib_oracle.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

// The largest channel error an optimized frame may show against the input when nothing in it
// is a stray single pixel: the comparison mask lets a colour stand for any other equal to it
// under the mask (0xFF - mask byte), the new reduction of a frame drops the lowest bit (1), and
// the shared palette merges colours up to 5 apart.
int ErrorBound(uint32_t mask) { return static_cast<int>(0xFF - (mask & 0xFF)) + 1 + 5; }

// Square blocks jumping between the cells of a grid over a patterned background: every change
// between frames is a solid block, never a stray pixel.
void AddBlockFrames(FrameBook& book, int frames, unsigned seed) {
    std::mt19937 random(seed);
    const int32_t w = book.doc.screenWidth, h = book.doc.screenHeight;
    for (int k = 0; k < frames; ++k) {
        std::vector<std::pair<int32_t, int32_t>> cells;
        for (int b = 0; b < 3; ++b)
            cells.emplace_back(static_cast<int32_t>(random() % (w / 6)) * 6,
                               static_cast<int32_t>(random() % (h / 6)) * 6);
        book.AddFull([&](int32_t x, int32_t y) {
            for (std::size_t b = 0; b < cells.size(); ++b) {
                const auto [cx, cy] = cells[b];
                if (x >= cx && x < cx + 5 && y >= cy && y < cy + 5) return uint8_t(20 + b);
            }
            return uint8_t((x / 4 + y / 4) % 8 + 1);
        });
    }
}

// Reductions on two threads, for frames that need a transparent slot or were unoptimized.
struct Workers {
    JobScheduler scheduler{2};
    ColorReduction reduction{&scheduler};
};

// Every frame that awaits its reduction.
std::vector<Gif*> PendingFrames(const Animation& doc) {
    std::vector<Gif*> frames;
    for (Gif* g = doc.head; g; g = g->next)
        if (AwaitsReduction(*g)) frames.push_back(g);
    return frames;
}

// What a frame holds, buffers by address and by content, to see that nobody wrote them.
struct FrameSnapshot {
    const IndexedBitmap* indexedBuffer;
    const TrueColorBitmap* trueColorBuffer;
    std::vector<int> indices;
    std::vector<uint32_t> trueColors;
    Palette palette;
    int32_t indexedReady;

    explicit FrameSnapshot(const Gif& g)
        : indexedBuffer(g.indexed.get()), trueColorBuffer(g.trueColor.get()),
          indices(FrameIndices(g)), palette(g.palette), indexedReady(g.indexedReady) {
        if (g.trueColor)
            for (int32_t y = 0; y < g.trueColor->Height(); ++y)
                for (int32_t x = 0; x < g.trueColor->Width(); ++x)
                    trueColors.push_back(g.trueColor->Get(x, y));
    }
    bool operator==(const FrameSnapshot&) const = default;
};

std::vector<FrameSnapshot> Snapshots(const Animation& doc) {
    std::vector<FrameSnapshot> snapshots;
    for (const Gif* g = doc.head; g; g = g->next) snapshots.emplace_back(*g);
    return snapshots;
}

int SmallerFrames(const Animation& doc) {
    int smaller = 0;
    for (Gif* g = doc.head; g; g = g->next)
        smaller += g->width * g->height < static_cast<uint32_t>(doc.screenWidth * doc.screenHeight);
    return smaller;
}

TEST(OptimizeAnimation, OptimizedFramesShowTheInputWithinTheMaskBound) {
    for (int level : {1, 3, 5}) {
        FrameBook book(48, 36);
        AddBlockFrames(book, 12, 7);
        const auto input = ComposeAll(book.doc);
        Workers workers;
        const uint32_t mask = ComparisonMaskForLevel(level);
        ASSERT_TRUE(
            OptimizeAnimation(book.doc, book.doc.head, mask, nullptr, &workers.reduction));
        EXPECT_LE(LargestChannelDifference(input, ComposeAll(book.doc)), ErrorBound(mask))
            << "level " << level;
        EXPECT_GE(SmallerFrames(book.doc), 10) << "level " << level;
        const Gif& first = *book.doc.head;
        EXPECT_EQ(first.width, 48u);
        EXPECT_EQ(first.height, 36u);
    }
}

TEST(OptimizeAnimation, WrittenFilesReadTheSameInGiflibAndShowWhatWasOptimized) {
    FrameBook book(48, 36);
    AddBlockFrames(book, 8, 11);
    Workers workers;
    ASSERT_TRUE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, nullptr,
                                  &workers.reduction));
    EXPECT_EQ(book.doc.globalPalettePresent, 1);
    TempDir dir;
    const std::string path = dir / "optimized.gif";
    ASSERT_EQ(SaveAnimation(book.doc, book.doc.head, path), GifWriteStatus::Ok);

    Animation loaded;
    ASSERT_EQ(LoadGifDocument(loaded, path), GifReadStatus::Ok);
    EXPECT_EQ(LargestChannelDifference(ComposeAll(book.doc), ComposeAll(loaded)), 0);
    OracleResult oracle = ReadWithGiflib(path);
    ASSERT_TRUE(oracle.gif) << oracle.error;
    EXPECT_EQ(OracleDifferences(*oracle.gif, loaded, true), std::vector<std::string>{});
}

// The copy shares the source's pixel buffers: reworking it must replace them, never write
// them, and must leave every value of the source as it was.
TEST(OptimizeAnimation, OptimizedCopyLeavesTheSourceAsItWas) {
    FrameBook book(48, 36);
    AddBlockFrames(book, 8, 13);
    // Changes in two far corners: not cut, so the marking of unchanged pixels meets the
    // source's own buffer.
    book.AddFull([](int32_t x, int32_t y) {
        const bool corner = (x < 5 && y < 5) || (x >= 43 && y >= 31);
        return uint8_t(corner ? 30 : (x / 4 + y / 4) % 8 + 1);
    });
    // Transparent already: such frames are not reduced again, whatever the reducer.
    for (Gif* g = book.doc.head->next; g; g = g->next) {
        g->transparent = 1;
        g->transparentIndex = 200;
    }
    book.doc.head->next->comments.Append("kept");
    const auto input = ComposeAll(book.doc);
    const std::string dump = DumpAnimation(book.doc);
    const Palette global = book.doc.globalPalette;
    const auto snapshots = Snapshots(book.doc);
    Workers workers;

    struct Case {
        uint32_t mask;
        FrameReducer* reducer;
        int bound;  // the largest channel error of the written copy against the source
    };
    for (const Case& c : {Case{0xFFFFFF, nullptr, 0},
                          Case{kDefaultComparisonMask, &workers.reduction,
                               ErrorBound(kDefaultComparisonMask)}}) {
        SCOPED_TRACE(testing::Message() << "mask " << std::hex << c.mask);
        bool completed = false;
        std::unique_ptr<Animation> copy =
            OptimizedCopy(book.doc, c.mask, nullptr, c.reducer, &completed);
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(completed);
        EXPECT_GE(SmallerFrames(*copy), 6);
        EXPECT_EQ(SmallerFrames(book.doc), 0);
        EXPECT_EQ(DumpAnimation(book.doc), dump);
        EXPECT_EQ(book.doc.globalPalette, global);
        EXPECT_TRUE(Snapshots(book.doc) == snapshots) << "a source frame changed";
        for (Gif* g = copy->head; g; g = g->next) EXPECT_EQ(g->animation, copy.get());

        TempDir dir;
        const std::string path = dir / "copy.gif";
        ASSERT_EQ(SaveAnimation(*copy, copy->head, path), GifWriteStatus::Ok);
        Animation loaded;
        ASSERT_EQ(LoadGifDocument(loaded, path), GifReadStatus::Ok);
        EXPECT_LE(LargestChannelDifference(input, ComposeAll(loaded)), c.bound);
        EXPECT_EQ(LargestChannelDifference(input, ComposeAll(book.doc)), 0);
    }
}

TEST(OptimizeAnimation, FramesThatRestoreTheBackgroundAreNotCut) {
    FrameBook book(24, 24);
    book.AddFull([](int32_t x, int32_t) { return uint8_t(x % 3 + 1); });
    // Shows a block and clears its whole rectangle afterwards: cut to the block, it would
    // leave the rest of the first frame standing.
    book.AddFull([](int32_t x, int32_t y) { return uint8_t(x < 6 && y < 6 ? 9 : x % 3 + 1); },
                 DisposalRestoreBackground);
    Gif& after = book.AddFull([](int32_t x, int32_t) { return uint8_t(x % 3 + 1); });
    const auto input = ComposeAll(book.doc);
    Workers workers;
    ASSERT_TRUE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, nullptr,
                                  &workers.reduction));
    const Gif& restoring = *book.doc.head->next;
    EXPECT_EQ(restoring.width * restoring.height, 24u * 24u);
    // The frame after it stands on the background: nothing of it is made transparent.
    EXPECT_EQ(after.width * after.height, 24u * 24u);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 24; ++x)
            ASSERT_FALSE(after.transparent && after.indexed->Get(x, y) == after.transparentIndex);
    EXPECT_LE(LargestChannelDifference(input, ComposeAll(book.doc)), ErrorBound(0xF0F0F0));
}

TEST(OptimizeAnimation, FramesWhoseColoursNoLongerFitKeepTheirOwnPalettes) {
    FrameBook book(16, 16);
    // Every frame changes every pixel, each pixel a colour of its own set.
    auto colours = [](int from, int count) {
        return [from, count](int32_t x, int32_t y) { return uint8_t(from + (y * 16 + x) % count); };
    };
    book.AddFull(colours(0, 120));
    book.AddFull(colours(120, 120));
    book.AddFull(colours(240, 16));  // 16 more do not fit beside the 241 taken
    book.AddFull(colours(0, 120));   // colours seen before fit again
    const auto input = ComposeAll(book.doc);
    Workers workers;
    ASSERT_TRUE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, nullptr,
                                  &workers.reduction));
    std::vector<int> local;
    for (Gif* g = book.doc.head; g; g = g->next) local.push_back(g->usesLocalPalette);
    EXPECT_EQ(local, (std::vector<int>{0, 0, 1, 0}));
    EXPECT_EQ(book.doc.globalPalettePresent, 1);
    EXPECT_LE(LargestChannelDifference(input, ComposeAll(book.doc)), ErrorBound(0xF0F0F0));
}

TEST(OptimizeAnimation, PixelsThatRepeatTheScreenBecomeTransparentOnTheSharedPalette) {
    FrameBook book(30, 30);
    book.AddFull([](int32_t x, int32_t y) { return uint8_t((x + y) % 5 + 1); });
    // Changes two blocks at either end of rows 0-9; the middle of those rows repeats the screen.
    book.AddFull([](int32_t x, int32_t y) {
        return uint8_t(y < 10 && (x < 10 || x >= 20) ? 30 : (x + y) % 5 + 1);
    });
    const auto input = ComposeAll(book.doc);
    Workers workers;
    ASSERT_TRUE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, nullptr,
                                  &workers.reduction));
    const Gif& second = *book.doc.head->next;
    EXPECT_EQ(second.width, 30u);
    EXPECT_EQ(second.height, 10u);
    EXPECT_EQ(second.usesLocalPalette, 0);
    ASSERT_EQ(second.transparent, 1);
    int see = 0;
    for (int32_t y = 0; y < second.indexed->Height(); ++y)
        for (int32_t x = 0; x < second.indexed->Width(); ++x)
            see += second.indexed->Get(x, y) == second.transparentIndex;
    EXPECT_EQ(see, 100);
    EXPECT_LE(LargestChannelDifference(input, ComposeAll(book.doc)), ErrorBound(0xF0F0F0));
}

class ScriptedProgress : public OptimizeProgress {
public:
    explicit ScriptedProgress(int abortAtCall) : abortAt_(abortAtCall) {}
    void SetText(const std::string& text) override { texts.push_back(text); }
    void SetPercent(int percent) override { percents.push_back(percent); }
    bool Aborted() override { return ++calls_ >= abortAt_; }
    void Close() override { ++closed; }

    std::vector<std::string> texts;
    std::vector<int> percents;
    int closed = 0;

private:
    int abortAt_;
    int calls_ = 0;
};

TEST(OptimizeAnimation, ReportsEachPassAndClosesAtTheEnd) {
    FrameBook book(24, 24);
    AddBlockFrames(book, 4, 3);
    Workers workers;
    ScriptedProgress progress(1 << 30);
    ASSERT_TRUE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, &progress,
                                  &workers.reduction));
    EXPECT_EQ(progress.texts,
              (std::vector<std::string>{"Optimizing Rects", "Optimizing Palette", "Final Run"}));
    EXPECT_EQ(progress.percents, (std::vector<int>{25, 50, 75, 100, 25, 50, 75, 100, 25, 50, 75, 100}));
    EXPECT_EQ(progress.closed, 1);
}

TEST(OptimizeAnimation, AnAbortedRunLeavesTheRestUntouched) {
    FrameBook book(48, 36);
    AddBlockFrames(book, 6, 5);
    Workers workers;
    ScriptedProgress progress(3);  // after the third frame of the first pass
    EXPECT_FALSE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, &progress,
                                   &workers.reduction));
    EXPECT_EQ(progress.texts, std::vector<std::string>{"Optimizing Rects"});
    EXPECT_EQ(progress.closed, 0);
    std::vector<bool> cut;
    for (Gif* g = book.doc.head; g; g = g->next) cut.push_back(g->width < 48 || g->height < 36);
    EXPECT_EQ(cut, (std::vector<bool>{false, true, true, false, false, false}));
    EXPECT_EQ(book.doc.globalPalettePresent, 1) << "the palette pass never ran";
}

TEST(OptimizeAnimation, AbortingInThePalettePassKeepsTheFileConsistent) {
    FrameBook book(48, 36);
    AddBlockFrames(book, 6, 9);
    const auto input = ComposeAll(book.doc);
    Workers workers;
    ScriptedProgress progress(6 + 1 + 2);  // the first pass, the check before the second, two frames
    EXPECT_FALSE(OptimizeAnimation(book.doc, book.doc.head, kDefaultComparisonMask, &progress,
                                   &workers.reduction));
    EXPECT_EQ(progress.texts,
              (std::vector<std::string>{"Optimizing Rects", "Optimizing Palette"}));
    EXPECT_LE(LargestChannelDifference(input, ComposeAll(book.doc)), ErrorBound(0xF0F0F0));
}

TEST(UnoptimizeAnimation, EveryFrameBecomesTheOpaqueScreenItShowed) {
    FrameBook book(20, 16);
    book.Add(2, 2, 10, 8, [](int32_t x, int32_t) { return uint8_t(x % 4); });  // 0 is see-through
    book.doc.head->transparent = 1;
    book.doc.head->transparentIndex = 0;
    book.Add(8, 4, 6, 6, [](int32_t, int32_t) { return uint8_t{5}; }, DisposalRestorePrevious);
    book.Add(0, 0, 20, 16, [](int32_t x, int32_t) { return uint8_t(x < 10 ? 0 : 7); });
    book.doc.LastFrame()->transparent = 1;
    book.doc.LastFrame()->transparentIndex = 0;
    const auto shown = ComposeAll(book.doc);

    UnoptimizeAnimation(book.doc, book.doc.head);
    std::size_t k = 0;
    for (Gif* g = book.doc.head; g; g = g->next, ++k) {
        EXPECT_EQ(g->left, 0);
        EXPECT_EQ(g->width, 20u);
        EXPECT_EQ(g->height, 16u);
        EXPECT_EQ(g->transparent, 0);
        EXPECT_EQ(IsIndexedReady(*g), 0) << "pending a reduction";
        ASSERT_TRUE(g->trueColor);
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = 0; x < 20; ++x) {
                uint32_t expected = shown[k].Get(x, y);
                if (expected == kNothingBeneathPixel) expected = k == 0 ? 0x808080 : 0xFFFFFF;
                ASSERT_EQ(g->trueColor->Get(x, y), expected) << k << " at " << x << "," << y;
            }
        }
    }
}

TEST(UnoptimizeAnimation, OpaqueScreenSizedFramesStayAndTheOthersAwaitTheirReduction) {
    FrameBook book(12, 12);
    book.AddFull([](int32_t x, int32_t) { return uint8_t(x % 6 + 1); });
    book.Add(3, 3, 4, 4, [](int32_t, int32_t) { return uint8_t{40}; });
    const auto shown = ComposeAll(book.doc);
    UnoptimizeAnimation(book.doc, book.doc.head);
    EXPECT_FALSE(book.doc.head->trueColor) << "left alone";
    ASSERT_EQ(PendingFrames(book.doc), std::vector<Gif*>{book.doc.head->next});
    Workers workers;
    workers.reduction.ReduceNow(PendingFrames(book.doc));
    const Gif& second = *book.doc.head->next;
    EXPECT_EQ(IsIndexedReady(second), 1);
    EXPECT_EQ(second.width, 12u);
    EXPECT_LE(LargestChannelDifference(shown, ComposeAll(book.doc)), 1) << "the reduction's lowest bit";
}

TEST(UnoptimizeAnimation, UnoptimizedCopyLeavesTheSourceAsItWas) {
    FrameBook book(12, 12);
    book.AddFull([](int32_t x, int32_t) { return uint8_t(x % 6 + 1); });
    book.Add(3, 3, 4, 4, [](int32_t, int32_t) { return uint8_t{40}; });
    book.Add(0, 0, 12, 12, [](int32_t x, int32_t) { return uint8_t(x < 6 ? 0 : 9); });
    book.doc.LastFrame()->transparent = 1;
    const auto shown = ComposeAll(book.doc);
    const std::string dump = DumpAnimation(book.doc);
    const auto snapshots = Snapshots(book.doc);

    std::unique_ptr<Animation> copy = UnoptimizedCopy(book.doc);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(DumpAnimation(book.doc), dump);
    EXPECT_TRUE(Snapshots(book.doc) == snapshots) << "a source frame changed";
    EXPECT_TRUE(PendingFrames(book.doc).empty());
    const std::vector<Gif*> pending = PendingFrames(*copy);
    ASSERT_EQ(pending.size(), 2u);
    Workers workers;
    workers.reduction.ReduceNow(pending);
    EXPECT_TRUE(PendingFrames(*copy).empty());
    EXPECT_LE(LargestChannelDifference(shown, ComposeAll(*copy)), 1);
    EXPECT_TRUE(Snapshots(book.doc) == snapshots) << "a source frame changed";
}

}  // namespace
}  // namespace anitrope::test
