#include "model/display_cache.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
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
    // Gives the frame a side x side picture filled with `fill` and records it, as a
    // compositor does.
    static std::shared_ptr<const ScreenImage> Store(DisplayCache& cache, Gif& gif, int32_t side = 2,
                                                    uint32_t fill = 0) {
        auto picture = std::make_shared<const ScreenImage>(side, side, fill);
        std::lock_guard lock(gif.bitmapLock);
        gif.displayBitmap = picture;
        cache.Record(gif, picture);
        return picture;
    }
    static bool Has(Gif& gif) {
        std::lock_guard lock(gif.bitmapLock);
        return gif.displayBitmap != nullptr;
    }
    Gif& NewFrame() { return *AppendFrame(doc, 1, 1); }

    Animation doc;
};

TEST_F(DisplayCacheTest, LeastRecentlyUsedPictureGoesFirst) {
    DisplayCache cache(2 * kSmall);
    Gif &a = NewFrame(), &b = NewFrame(), &c = NewFrame();
    Store(cache, a);
    Store(cache, b);
    cache.Touch(a);
    Store(cache, c);
    EXPECT_TRUE(Has(a));
    EXPECT_FALSE(Has(b));
    EXPECT_TRUE(Has(c));
    EXPECT_EQ(cache.BytesHeld(), 2 * kSmall);
    EXPECT_EQ(cache.EntryCount(), 2u);
}

TEST_F(DisplayCacheTest, PictureJustRecordedStaysEvenAloneOverTheBound) {
    DisplayCache cache(kSmall - 1);
    Gif &a = NewFrame(), &b = NewFrame();
    Store(cache, a);
    EXPECT_TRUE(Has(a));
    Store(cache, b);
    EXPECT_FALSE(Has(a));
    EXPECT_TRUE(Has(b));
    EXPECT_EQ(cache.BytesHeld(), kSmall);
}

TEST_F(DisplayCacheTest, ReaderKeepsAnEvictedPictureAlive) {
    DisplayCache cache(kSmall);
    Gif &a = NewFrame(), &b = NewFrame();
    Store(cache, a, 2, 0x123456);
    std::shared_ptr<const ScreenImage> reading;
    {
        std::lock_guard lock(a.bitmapLock);
        reading = a.displayBitmap;
    }
    Store(cache, b);
    EXPECT_FALSE(Has(a));
    EXPECT_EQ(PixelsOf(*reading), Pixels(4, 0x123456));
}

TEST_F(DisplayCacheTest, FrameBusyOnAnotherThreadIsPassedOver) {
    DisplayCache cache(2 * kSmall);
    Gif &a = NewFrame(), &b = NewFrame(), &c = NewFrame(), &d = NewFrame();
    Store(cache, a);
    Store(cache, b);
    std::promise<void> held, release;
    std::thread reader([&] {
        std::lock_guard lock(a.bitmapLock);
        held.set_value();
        release.get_future().wait();
    });
    held.get_future().wait();
    Store(cache, c);  // a is the oldest but busy: b goes instead
    release.set_value();
    reader.join();
    EXPECT_TRUE(Has(a));
    EXPECT_FALSE(Has(b));
    Store(cache, d);  // a is free now and still the oldest
    EXPECT_FALSE(Has(a));
    EXPECT_TRUE(Has(c));
    EXPECT_TRUE(Has(d));
}

TEST_F(DisplayCacheTest, ForgottenPictureIsNoLongerCountedOrDropped) {
    DisplayCache cache(kSmall);
    Gif& a = NewFrame();
    Store(cache, a);
    cache.Forget(a);
    EXPECT_EQ(cache.BytesHeld(), 0u);
    EXPECT_EQ(cache.EntryCount(), 0u);
    cache.SetByteBound(0);
    EXPECT_TRUE(Has(a));
}

TEST_F(DisplayCacheTest, RecordingAFrameAgainReplacesItsEntry) {
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
    EXPECT_FALSE(Has(a));
    EXPECT_FALSE(Has(b));
    EXPECT_TRUE(Has(c));
    cache.SetByteBound(0);
    EXPECT_FALSE(Has(c));
    EXPECT_EQ(cache.BytesHeld(), 0u);
}

// The count always equals what the frames hold, however stores, uses, drops and evictions
// from many threads interleave.
TEST_F(DisplayCacheTest, CountStaysExactUnderConcurrentUse) {
    constexpr int kThreads = 4, kFramesEach = 8, kSteps = 2000;
    DisplayCache cache(5 * kSmall);
    std::vector<Gif*> frames;
    for (int i = 0; i < kThreads * kFramesEach; ++i) frames.push_back(&NewFrame());
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int step = 0; step < kSteps; ++step) {
                Gif& gif = *frames[t * kFramesEach + (step * 5) % kFramesEach];
                switch (step % 3) {
                    case 0:
                        Store(cache, gif, 1 + (step / 3) % 3);
                        break;
                    case 1:
                        cache.Touch(gif);
                        break;
                    default: {
                        std::lock_guard lock(gif.bitmapLock);
                        gif.displayBitmap.reset();
                        cache.Forget(gif);
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::size_t held = 0;
    for (Gif* gif : frames)
        if (gif->displayBitmap) held += DisplayCache::BytesOf(*gif->displayBitmap);
    EXPECT_EQ(cache.BytesHeld(), held);
    cache.SetByteBound(0);
    EXPECT_EQ(cache.BytesHeld(), 0u);
    for (Gif* gif : frames) EXPECT_FALSE(gif->displayBitmap);
}

// --- with a compositor ----------------------------------------------------------------------

TEST_F(DisplayCacheTest, TinyBoundStillGivesEveryFrameItsPicture) {
    testing::BuildMixedScene(doc, 30);
    const std::vector<Pixels> expected = testing::SimulateViewer(doc);
    Compositor compositor(doc, nullptr, 1);
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
    Compositor compositor(doc, nullptr, onePicture);
    Gif& first = *doc.head;
    const Pixels shown = PixelsOf(*compositor.GetDisplayBitmap(first));
    compositor.GetDisplayBitmap(*first.next);
    EXPECT_FALSE(Has(first));
    EXPECT_EQ(PixelsOf(*compositor.GetDisplayBitmap(first)), shown);
    EXPECT_EQ(compositor.Cache().BytesHeld(), onePicture);
}

}  // namespace
}  // namespace anitrope
