#include "model/display_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "composition_fixtures.h"
#include "frame_fixtures.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::Pixels;
using testing::PixelsOf;

constexpr std::size_t kSmall = 2 * 2 * 4;  // bytes of a 2 x 2 picture

class DisplayCacheTest : public ::testing::Test {
  protected:
    // Keeps a side x side picture filled with `fill` as the frame's, as a compositor does.
    static std::shared_ptr<const ScreenImage> Store(DisplayCache& cache, Gif& gif, int32_t side = 2,
                                                    uint32_t fill = 0, uint64_t composedAt = 0) {
        auto picture = std::make_shared<const ScreenImage>(side, side, fill);
        cache.Store(gif, picture, composedAt);
        return picture;
    }
    // Looking counts as a use: call it after the evictions a test is about.
    static bool Has(DisplayCache& cache, Gif& gif) { return cache.Find(gif).picture != nullptr; }
    Gif& NewFrame() { return *AppendFrame(doc, 1, 1); }

    Animation doc;
};

TEST_F(DisplayCacheTest, LeastRecentlyUsedPictureGoesFirst) {
    DisplayCache cache(2 * kSmall);
    Gif &a = NewFrame(), &b = NewFrame(), &c = NewFrame();
    Store(cache, a);
    Store(cache, b);
    EXPECT_TRUE(Has(cache, a));  // used: b is the oldest now
    Store(cache, c);
    EXPECT_FALSE(Has(cache, b));
    EXPECT_TRUE(Has(cache, a));
    EXPECT_TRUE(Has(cache, c));
    EXPECT_EQ(cache.BytesHeld(), 2 * kSmall);
    EXPECT_EQ(cache.EntryCount(), 2u);
}

TEST_F(DisplayCacheTest, PictureJustStoredStaysEvenAloneOverTheBound) {
    DisplayCache cache(kSmall - 1);
    Gif &a = NewFrame(), &b = NewFrame();
    Store(cache, a);
    EXPECT_TRUE(Has(cache, a));
    Store(cache, b);
    EXPECT_FALSE(Has(cache, a));
    EXPECT_TRUE(Has(cache, b));
    EXPECT_EQ(cache.BytesHeld(), kSmall);
}

TEST_F(DisplayCacheTest, ReaderKeepsAnEvictedPictureAlive) {
    DisplayCache cache(kSmall);
    Gif &a = NewFrame(), &b = NewFrame();
    Store(cache, a, 2, 0x123456);
    std::shared_ptr<const ScreenImage> reading = cache.Find(a).picture;
    Store(cache, b);
    EXPECT_FALSE(Has(cache, a));
    ASSERT_NE(reading, nullptr);
    EXPECT_EQ(PixelsOf(*reading), Pixels(4, 0x123456));
}

TEST_F(DisplayCacheTest, EntryKeepsTheVersionItWasComposedAt) {
    DisplayCache cache;
    Gif &a = NewFrame(), &b = NewFrame();
    EXPECT_EQ(cache.Find(a).picture, nullptr);
    EXPECT_EQ(cache.Find(a).composedAt, 0u);
    auto first = Store(cache, a, 2, 0, 7);
    Store(cache, b, 2, 0, 9);
    EXPECT_EQ(cache.Find(a).picture, first);
    EXPECT_EQ(cache.Find(a).composedAt, 7u);
    EXPECT_EQ(cache.Find(b).composedAt, 9u);
    auto second = Store(cache, a, 2, 0, 12);
    EXPECT_EQ(cache.Find(a).picture, second);
    EXPECT_EQ(cache.Find(a).composedAt, 12u);
}

TEST_F(DisplayCacheTest, ForgottenOrClearedPicturesAreNoLongerKeptOrCounted) {
    DisplayCache cache;
    Gif &a = NewFrame(), &b = NewFrame(), &c = NewFrame();
    auto reading = Store(cache, a, 2, 0xABCDEF);
    Store(cache, b);
    cache.Forget(a);
    cache.Forget(c);  // never kept: nothing happens
    EXPECT_EQ(cache.BytesHeld(), kSmall);
    EXPECT_EQ(cache.EntryCount(), 1u);
    EXPECT_FALSE(Has(cache, a));
    EXPECT_EQ(PixelsOf(*reading), Pixels(4, 0xABCDEF));
    Store(cache, c);
    cache.Clear();
    EXPECT_EQ(cache.BytesHeld(), 0u);
    EXPECT_EQ(cache.EntryCount(), 0u);
    EXPECT_FALSE(Has(cache, b));
    EXPECT_FALSE(Has(cache, c));
}

TEST_F(DisplayCacheTest, StoringAFrameAgainReplacesItsEntry) {
    DisplayCache cache;
    Gif& a = NewFrame();
    Store(cache, a, 2);
    Store(cache, a, 4);
    EXPECT_EQ(cache.EntryCount(), 1u);
    EXPECT_EQ(cache.BytesHeld(), std::size_t{4 * 4 * 4});
}

TEST_F(DisplayCacheTest, ShrinkingTheBoundEvictsOldestFirst) {
    DisplayCache cache;
    EXPECT_EQ(cache.ByteBound(), kDefaultDisplayCacheBytes);
    Gif &a = NewFrame(), &b = NewFrame(), &c = NewFrame();
    Store(cache, a);
    Store(cache, b);
    Store(cache, c);
    cache.SetByteBound(kSmall);
    EXPECT_EQ(cache.ByteBound(), kSmall);
    EXPECT_FALSE(Has(cache, a));
    EXPECT_FALSE(Has(cache, b));
    EXPECT_TRUE(Has(cache, c));
    cache.SetByteBound(0);
    EXPECT_FALSE(Has(cache, c));
    EXPECT_EQ(cache.BytesHeld(), 0u);
}

// The count always equals the bytes of the pictures kept, however stores, uses, forgets and
// evictions from many threads interleave; a picture found is never freed under its reader.
TEST_F(DisplayCacheTest, CountStaysExactUnderConcurrentUse) {
    constexpr int kThreads = 4, kFramesEach = 8, kSteps = 2000;
    DisplayCache cache(5 * kSmall);
    std::vector<Gif*> frames;
    for (int i = 0; i < kThreads * kFramesEach; ++i) frames.push_back(&NewFrame());
    std::vector<std::thread> threads;
    std::atomic<int> misread{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int step = 0; step < kSteps; ++step) {
                Gif& gif = *frames[t * kFramesEach + (step * 5) % kFramesEach];
                switch (step % 3) {
                    case 0: {
                        const int side = 1 + (step / 3) % 3;
                        Store(cache, gif, side, static_cast<uint32_t>(side));
                        break;
                    }
                    case 1: {
                        // Others evict meanwhile; the picture found stays whole.
                        const auto found = cache.Find(gif).picture;
                        if (found && PixelsOf(*found) != Pixels(static_cast<std::size_t>(
                                                                     found->Width() * found->Width()),
                                                                 static_cast<uint32_t>(found->Width())))
                            ++misread;
                        break;
                    }
                    default: cache.Forget(gif);
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(misread.load(), 0);
    std::size_t held = 0, kept = 0;
    for (Gif* gif : frames) {
        if (auto picture = cache.Find(*gif).picture) {
            held += DisplayCache::BytesOf(*picture);
            ++kept;
        }
    }
    EXPECT_EQ(cache.BytesHeld(), held);
    EXPECT_EQ(cache.EntryCount(), kept);
    EXPECT_LE(held, 5 * kSmall);
    cache.SetByteBound(0);
    EXPECT_EQ(cache.BytesHeld(), 0u);
    for (Gif* gif : frames) EXPECT_FALSE(Has(cache, *gif));
}

// --- with a compositor ----------------------------------------------------------------------

TEST_F(DisplayCacheTest, TinyBoundStillGivesEveryFrameItsPicture) {
    testing::BuildMixedScene(doc, 30);
    const std::vector<Pixels> expected = testing::SimulateViewer(doc);
    Compositor compositor(doc, nullptr, nullptr, 1);
    for (std::size_t pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const std::size_t k = pass == 0 ? i : (i * 7) % expected.size();
            auto picture = compositor.GetDisplayBitmap(*doc.FrameAt(k));
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(PixelsOf(*picture), expected[k]) << "pass " << pass << " frame " << k;
            EXPECT_EQ(compositor.Cache().EntryCount(), 1u);
        }
    }
}

TEST_F(DisplayCacheTest, EvictedPictureIsComposedAgainWhenAskedFor) {
    testing::BuildMixedScene(doc, 3);
    const std::size_t onePicture = 8 * 6 * 4;
    Compositor compositor(doc, nullptr, nullptr, onePicture);
    Gif& first = *doc.head;
    const Pixels shown = PixelsOf(*compositor.GetDisplayBitmap(first));
    compositor.GetDisplayBitmap(*first.next);
    EXPECT_EQ(compositor.CachedDisplayBitmap(first), nullptr);
    EXPECT_EQ(compositor.Compositions(), 2u);
    EXPECT_EQ(PixelsOf(*compositor.GetDisplayBitmap(first)), shown);
    EXPECT_EQ(compositor.Compositions(), 3u);
    EXPECT_EQ(compositor.Cache().BytesHeld(), onePicture);
}

}  // namespace
}  // namespace anitrope
