// Picture limits and the memory budget: a hostile header must not make the reader allocate,
// and a file that runs past them keeps what it had when the first image already stands.

#include <gtest/gtest.h>

#include <vector>

#include "support/gif_builder.h"
#include "support/gif_loading.h"

namespace anitrope::test {
namespace {

// An image of the given geometry whose data is only clear and end: all pixels 0, and no
// pixel data worth the name, so only the declared size can make it big.
GifBuilder& AddBlankImage(GifBuilder& gif, const ImageHeader& header) {
    CodeStream codes;
    codes.Code(4, 3).Code(5, 3);
    return gif.Descriptor(header).CodeStreamData(2, codes.Pack());
}

std::vector<uint8_t> ScreenAndImage(uint16_t screenWidth, uint16_t screenHeight,
                                    const ImageHeader& image) {
    GifBuilder gif;
    gif.Header().Screen(
        {.width = screenWidth, .height = screenHeight, .globalColors = DistinctColors(4)});
    AddBlankImage(gif, image).Trailer();
    return gif.Bytes();
}

// A good 1x1 first frame, then `image`.
std::vector<uint8_t> SecondImage(const ImageHeader& image) {
    GifBuilder gif;
    gif.Header().Screen({.globalColors = DistinctColors(4)});
    AddBlankImage(gif, {});
    AddBlankImage(gif, image).Trailer();
    return gif.Bytes();
}

TEST(GifReaderLimits, LogicalScreenBeyondLimitsIsRefused) {
    struct Size {
        uint16_t width, height;
    };
    for (Size s : {Size{16385, 1}, Size{1, 16385}, Size{8193, 8193}, Size{16384, 4097},
                   Size{65535, 65535}}) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
        EXPECT_EQ(ReadIntoNewAnimation(ScreenAndImage(s.width, s.height, {})).status,
                  GifReadStatus::TooLarge);
    }
}

TEST(GifReaderLimits, LogicalScreenAtTheLimitsIsAccepted) {
    struct Size {
        uint16_t width, height;
    };
    for (Size s : {Size{16384, 1}, Size{1, 16384}, Size{16384, 4096}, Size{8192, 8192}}) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height);
        GifLoad load = ReadIntoNewAnimation(ScreenAndImage(s.width, s.height, {}));
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_EQ(load.animation->screenWidth, s.width);
        EXPECT_EQ(load.animation->screenHeight, s.height);
    }
}

TEST(GifReaderLimits, FirstImageBeyondLimitsIsRefused) {
    const ImageHeader images[] = {
        {.width = 16385, .height = 1},
        {.width = 1, .height = 16385},
        {.width = 8193, .height = 8193},
        // Inside the limits itself, but placed so that the screen would have to grow past them.
        {.left = 16000, .width = 385, .height = 1},
        {.top = 16000, .width = 1, .height = 385},
        {.top = 4096, .width = 16384, .height = 1},
    };
    for (const ImageHeader& image : images) {
        SCOPED_TRACE(testing::Message() << image.left << "," << image.top << " " << image.width
                                        << "x" << image.height);
        EXPECT_EQ(ReadIntoNewAnimation(ScreenAndImage(1, 1, image)).status,
                  GifReadStatus::TooLarge);
    }
}

TEST(GifReaderLimits, ImageReachingExactlyToTheLimitIsAccepted) {
    GifLoad load = LoadFromBytes(ScreenAndImage(1, 1, {.left = 16000, .width = 384, .height = 2}));
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.animation->screenWidth, 16384);
    EXPECT_EQ(load.animation->screenHeight, 2);
}

TEST(GifReaderLimits, LaterImageBeyondLimitsEndsTheReadKeepingTheFirst) {
    const ImageHeader images[] = {
        {.width = 16385, .height = 1},
        {.width = 8193, .height = 8193},
        {.left = 16000, .width = 385, .height = 1},
    };
    for (const ImageHeader& image : images) {
        SCOPED_TRACE(testing::Message() << image.left << "," << image.top << " " << image.width
                                        << "x" << image.height);
        GifLoad load = ReadIntoNewAnimation(SecondImage(image));
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_EQ(load.FrameCount(), 1u);
    }
}

TEST(GifReaderLimits, CallerLimitsReplaceTheDefaults) {
    GifReadLimits limits;
    limits.maxDimension = 100;
    limits.maxPixels = 1000;
    EXPECT_EQ(ReadIntoNewAnimation(ScreenAndImage(101, 1, {}), "x", limits).status,
              GifReadStatus::TooLarge);
    EXPECT_EQ(
        ReadIntoNewAnimation(ScreenAndImage(1, 1, {.width = 1, .height = 101}), "x", limits).status,
        GifReadStatus::TooLarge);
    EXPECT_EQ(
        ReadIntoNewAnimation(ScreenAndImage(1, 1, {.width = 40, .height = 26}), "x", limits).status,
        GifReadStatus::TooLarge);
    GifLoad fits =
        ReadIntoNewAnimation(ScreenAndImage(100, 10, {.width = 100, .height = 10}), "x", limits);
    EXPECT_EQ(fits.status, GifReadStatus::Ok);
}

TEST(GifReaderLimits, MemoryBudgetRefusesTheFirstFrame) {
    GifReadLimits limits;
    limits.maxTotalBytes = 64;  // less than one frame record
    GifLoad load =
        ReadIntoNewAnimation(ScreenAndImage(8, 8, {.width = 8, .height = 8}), "x", limits);
    EXPECT_EQ(load.status, GifReadStatus::TooLarge);
}

TEST(GifReaderLimits, MemoryBudgetEndsTheReadKeepingFramesThatFit) {
    // 512x512 frames take 256 KiB of pixels each. The budget holds two of them with 64 KiB to
    // spare for their records and the decoder's working memory, but not a third.
    constexpr std::size_t kFramePixels = 512 * 512;
    GifBuilder gif;
    gif.Header().Screen({.width = 512, .height = 512, .globalColors = DistinctColors(4)});
    for (int i = 0; i < 5; ++i) AddBlankImage(gif, {.width = 512, .height = 512});
    gif.Trailer();
    GifReadLimits limits;
    limits.maxTotalBytes = 2 * (kFramePixels + sizeof(Gif)) + 64 * 1024;
    ASSERT_LT(limits.maxTotalBytes, 3 * kFramePixels);
    GifLoad load = ReadIntoNewAnimation(gif.Bytes(), "x", limits);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.FrameCount(), 2u);
}

}  // namespace
}  // namespace anitrope::test
