// The lossless optimizer: what a viewer shows stays exactly the same, in a file no larger
// than before.

#include "gif/lossless_optimizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "gif/animation_optimizer.h"
#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "gif/optimize_progress.h"
#include "optimizer_fixtures.h"
#include "support/gif_loading.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

// The first frame whose picture differs, or -1.
int FirstDifference(const std::vector<ScreenImage>& a, const std::vector<ScreenImage>& b) {
    if (a.size() != b.size()) return 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].Width() != b[k].Width() || a[k].Height() != b[k].Height()) return static_cast<int>(k);
        for (int32_t y = 0; y < a[k].Height(); ++y)
            for (int32_t x = 0; x < a[k].Width(); ++x)
                if (a[k].Get(x, y) != b[k].Get(x, y)) return static_cast<int>(k);
    }
    return -1;
}

std::size_t WrittenSize(const Animation& doc, const std::string& path) {
    EXPECT_EQ(SaveAnimation(doc, doc.head, path), GifWriteStatus::Ok);
    return static_cast<std::size_t>(std::filesystem::file_size(path));
}

// Optimizes `doc` losslessly and checks the written file against it: the same pictures when
// read back, no more bytes than writing it as it was.
void ExpectLosslessAndNoLarger(Animation& doc, const TempDir& dir) {
    const auto before = ComposeAll(doc);
    const std::size_t plainSize = WrittenSize(doc, dir / "plain.gif");
    ASSERT_NE(OptimizeLossless(doc, doc.head, nullptr), LosslessResult::Aborted);
    EXPECT_EQ(FirstDifference(before, ComposeAll(doc)), -1) << "in memory";
    const std::size_t optimizedSize = WrittenSize(doc, dir / "optimized.gif");
    EXPECT_LE(optimizedSize, plainSize);
    GifLoad back = ReadFileIntoNewAnimation(dir / "optimized.gif");
    ASSERT_EQ(back.status, GifReadStatus::Ok);
    EXPECT_EQ(FirstDifference(before, ComposeAll(*back.animation)), -1) << "read back";
}

TEST(OptimizeLossless, SuiteFilesShowTheSamePicturesInFewerBytes) {
    const char* const files[] = {"animated_loop", "animated_loop_interlaced",
                                 "animated_transparent_firstframerestoreprev_loop",
                                 "animated_transparent_frame_norestore_loop",
                                 "animated_transparent_frame_restorebackground_loop",
                                 "animated_transparent_frame_restoreprev_loop",
                                 "animated_transparent_loop_frames_out_of_bounds",
                                 "animated_transparent_restoreprev_loop", "static_transparent"};
    TempDir dir;
    for (const char* name : files) {
        SCOPED_TRACE(name);
        GifLoad load = ReadFileIntoNewAnimation(ANITROPE_TESTDATA_DIR "/gif-test-suite/gifs/" +
                                                std::string(name) + ".gif");
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        ExpectLosslessAndNoLarger(*load.animation, dir);
    }
}

// Frames at random places and sizes, some with holes, some on palettes of their own, with
// every disposal, a screen the first frame does not cover, and a background colour.
void AddRandomFrames(FrameBook& book, unsigned seed) {
    std::mt19937 random(seed);
    const int32_t w = book.doc.screenWidth, h = book.doc.screenHeight;
    book.doc.backgroundIndex = static_cast<uint8_t>(random() % 4);
    const int frames = 2 + static_cast<int>(random() % 6);
    for (int k = 0; k < frames; ++k) {
        const int32_t fw = 1 + static_cast<int32_t>(random() % w), fh = 1 + static_cast<int32_t>(random() % h);
        const int32_t left = static_cast<int32_t>(random() % (w - fw + 3)) - 1;
        const int32_t top = static_cast<int32_t>(random() % (h - fh + 3)) - 1;
        const int colors = 2 + static_cast<int>(random() % 6);
        const unsigned pattern = static_cast<unsigned>(random());
        Gif& gif = book.Add(left, top, fw, fh, [&](int32_t x, int32_t y) {
            return static_cast<uint8_t>((x / (1 + pattern % 3) + y * (pattern % 5) + (x * y) % 3) % colors);
        }, static_cast<uint32_t>(random() % 4));
        if (random() % 2) {
            gif.transparent = 1;
            gif.transparentIndex = static_cast<int32_t>(random() % colors);
        }
        if (random() % 3 == 0) {
            gif.usesLocalPalette = 1;
            for (int i = 0; i < colors; ++i)
                gif.palette[static_cast<std::size_t>(i)] = DistinctColor(100 + i + static_cast<int>(random() % 50));
        }
    }
}

TEST(OptimizeLossless, RandomAnimationsShowTheSamePicturesInFewerBytes) {
    TempDir dir;
    for (unsigned seed = 1; seed <= 80; ++seed) {
        SCOPED_TRACE(seed);
        FrameBook book(static_cast<int32_t>(5 + seed % 23), static_cast<int32_t>(3 + seed % 17));
        AddRandomFrames(book, seed);
        ExpectLosslessAndNoLarger(book.doc, dir);
    }
}

class GiveUpAt final : public OptimizeProgress {
public:
    explicit GiveUpAt(int calls) : left_(calls) {}
    void SetText(const std::string& text) override { texts.push_back(text); }
    void SetPercent(int) override {}
    bool Aborted() override { return --left_ < 0; }
    void Close() override { closed = true; }
    std::vector<std::string> texts;
    bool closed = false;

private:
    int left_;
};

TEST(OptimizeLossless, GivingUpAnywhereChangesNothing) {
    for (int calls : {0, 2, 5, 9}) {
        SCOPED_TRACE(calls);
        FrameBook book(20, 20);
        AddRandomFrames(book, 7);
        TempDir dir;
        const std::size_t before = WrittenSize(book.doc, dir / "before.gif");
        GiveUpAt progress(calls);
        EXPECT_EQ(OptimizeLossless(book.doc, book.doc.head, &progress), LosslessResult::Aborted);
        EXPECT_FALSE(progress.closed);
        EXPECT_EQ(WrittenSize(book.doc, dir / "after.gif"), before);
    }
}

TEST(OptimizeLossless, IsTheOptimizersLevelZero) {
    FrameBook book(20, 20);
    AddRandomFrames(book, 3);
    const auto before = ComposeAll(book.doc);
    GiveUpAt progress(1000);
    ASSERT_TRUE(OptimizeAnimation(book.doc, book.doc.head, ComparisonMaskForLevel(0), &progress));
    EXPECT_EQ(progress.texts, (std::vector<std::string>{"Optimizing Rects", "Optimizing Palette"}));
    EXPECT_TRUE(progress.closed);
    EXPECT_EQ(FirstDifference(before, ComposeAll(book.doc)), -1);
    EXPECT_EQ(ComparisonLevelOfMask(kLosslessMask), 0);
}

}  // namespace
}  // namespace anitrope::test
