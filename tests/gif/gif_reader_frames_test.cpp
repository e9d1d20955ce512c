// Image descriptors, local colour tables and the frame loop: how many frames a file gives and
// what survives when a later one is damaged.

#include <gtest/gtest.h>

#include <vector>

#include "support/animation_dump.h"
#include "support/gif_builder.h"
#include "support/gif_loading.h"

namespace anitrope::test {
namespace {

TEST(GifReaderFrames, DescriptorGeometryAndLocalTablesAreRead) {
    const ColorTable local = DistinctColors(16);
    const std::vector<uint8_t> pixels = CountingPixels(6 * 5, 16);
    GifBuilder gif;
    gif.Header().Screen({.width = 40, .height = 30, .globalColors = DistinctColors(4)});
    gif.Image({.left = 3, .top = 2, .width = 6, .height = 5, .localColors = local}, pixels);
    gif.Image({.left = 30, .top = 25, .width = 6, .height = 5}, CountingPixels(6 * 5, 4));
    gif.Trailer();
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(DumpAnimation(*load.animation),
              "screen 40x30\nglobal palette 4\nbackground 0\nloop none\n"
              "frame 0: at 3,2 size 6x5 delay 0 disposal 0 transparent none palette local 16\n"
              "frame 1: at 30,25 size 6x5 delay 0 disposal 0 transparent none palette global\n");
    const Gif& first = load.Frame(0);
    for (std::size_t i = 0; i < local.size(); ++i)
        EXPECT_EQ(first.palette[i], (PaletteEntry{local[i].red, local[i].green, local[i].blue}))
            << "slot " << i;
    for (std::size_t i = 16; i < kPaletteSlots; ++i)
        EXPECT_TRUE(first.palette[i].IsUnused()) << "slot " << i;
    EXPECT_TRUE(HasPixels(first, pixels));
    EXPECT_TRUE(HasPixels(load.Frame(1), CountingPixels(6 * 5, 4)));
}

TEST(GifReaderFrames, FramesAreChainedInFileOrder) {
    GifBuilder gif;
    gif.Header().Screen({.globalColors = DistinctColors(4)});
    for (uint8_t i = 0; i < 4; ++i) {
        const uint8_t pixel[] = {i};
        gif.Image({}, pixel);
    }
    gif.Trailer();
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    ASSERT_EQ(load.FrameCount(), 4u);
    const Gif* prev = nullptr;
    uint8_t index = 0;
    for (const Gif* g = load.animation->head; g; prev = g, g = g->next, ++index) {
        EXPECT_EQ(g->prev, prev) << "frame " << int{index};
        EXPECT_EQ(g->animation, load.animation.get()) << "frame " << int{index};
        const uint8_t pixel[] = {index};
        EXPECT_TRUE(HasPixels(*g, pixel)) << "frame " << int{index};
    }
}

TEST(GifReaderFrames, HundredThousandFramesAllLoad) {
    constexpr std::size_t kFrames = 100000;
    GifBuilder one;  // a 1x1 image, encoded once and repeated
    const uint8_t pixel[] = {1};
    one.Image({}, pixel, {.minCodeSize = 2});
    GifBuilder gif;
    gif.Header().Screen({.globalColors = DistinctColors(2)});
    for (std::size_t i = 0; i < kFrames; ++i) gif.Raw(one.Bytes());
    gif.Trailer();
    GifLoad load = LoadFromBytes(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.FrameCount(), kFrames);
    EXPECT_TRUE(HasPixels(*load.animation->LastFrame(), pixel));
}

// Three good 2x2 frames, then `damage` in place of the fourth image's data.
std::vector<uint8_t> DamagedAfterThreeFrames(const std::vector<uint8_t>& damage) {
    GifBuilder gif;
    gif.Header().Screen({.width = 2, .height = 2, .globalColors = DistinctColors(4)});
    const uint8_t pixels[] = {3, 2, 1, 0};
    for (int i = 0; i < 3; ++i) gif.Control({.delay = 10}).Image({.width = 2, .height = 2}, pixels);
    gif.Raw(damage);
    return gif.Bytes();
}

TEST(GifReaderFrames, DamagedLaterFrameEndsTheReadKeepingEarlierFrames) {
    CodeStream corrupt;  // code 7 while 6 is the next free code
    corrupt.Code(4, 3).Code(1, 3).Code(7, 3).Code(5, 3);
    GifBuilder corruptImage;
    corruptImage.Control({.delay = 10}).Descriptor({.width = 2, .height = 2});
    corruptImage.CodeStreamData(2, corrupt.Pack()).Trailer();

    struct Case {
        const char* what;
        std::vector<uint8_t> damage;
    };
    const Case cases[] = {
        {"corrupt code stream", corruptImage.Bytes()},
        {"stray byte instead of an image", {0x21, 0xFE, 1, 'x', 0, 0x77, 0x2C}},
        {"end of file without trailer", {}},
        {"descriptor cut short", {0x2C, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifLoad load = ReadIntoNewAnimation(DamagedAfterThreeFrames(c.damage));
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        ASSERT_EQ(load.FrameCount(), 3u);
        const uint8_t pixels[] = {3, 2, 1, 0};
        for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(HasPixels(load.Frame(i), pixels));
    }
}

}  // namespace
}  // namespace anitrope::test
