// Our reader against giflib on files built here: every model field, pixels included, must
// agree. giflib also vouches for the test encoder, so a fault shared by our encoder and
// decoder cannot hide behind a round trip.

#include "support/giflib_oracle.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/animation_dump.h"
#include "support/gif_builder.h"
#include "support/gif_loading.h"
#include "support/sample_gifs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

// Reads the bytes with giflib and with us, both ways in (LoadGifDocument fits the screen to
// the frames, ReadGifFile keeps the logical screen), and reports every difference.
::testing::AssertionResult AgreesWithGiflib(const std::vector<uint8_t>& bytes) {
    TempFile file(bytes);
    const OracleResult oracle = ReadWithGiflib(file.Path());
    if (!oracle.gif) return ::testing::AssertionFailure() << "giflib refused it: " << oracle.error;

    GifLoad loaded;
    loaded.animation = std::make_unique<Animation>();
    loaded.status = LoadGifDocument(*loaded.animation, file.Path());
    GifLoad read = ReadFileIntoNewAnimation(file.Path());
    for (const GifLoad* load : {&loaded, &read}) {
        const bool fitted = load == &loaded;
        const char* how = fitted ? "LoadGifDocument" : "ReadGifFile";
        if (load->status != GifReadStatus::Ok) {
            return ::testing::AssertionFailure()
                   << how << " gave status " << static_cast<int>(load->status);
        }
        const std::vector<std::string> differences =
            OracleDifferences(*oracle.gif, *load->animation, fitted);
        if (!differences.empty()) {
            return ::testing::AssertionFailure()
                   << how << ": " << ::testing::PrintToString(differences) << "\nour reading:\n"
                   << DumpAnimation(*load->animation);
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(GifOracle, GiflibDecodesTheTestEncoderLikeTheInput) {
    std::mt19937 random(5);
    std::vector<uint8_t> noise(256 * 200);
    for (uint8_t& p : noise) p = static_cast<uint8_t>(random());
    std::vector<uint8_t> runs(300 * 40);
    for (std::size_t i = 0; i < runs.size(); ++i) runs[i] = static_cast<uint8_t>(i / 37 % 4);

    struct Case {
        const char* what;
        uint16_t width, height;
        const std::vector<uint8_t>& pixels;
        int colors;
        LzwOptions lzw;
    };
    const Case cases[] = {
        {"8-bit noise, clear when full", 256, 200, noise, 256, {}},
        {"8-bit noise, deferred clear", 256, 200, noise, 256, {.clearWhenFull = false}},
        {"2-bit runs, clear when full", 300, 40, runs, 4, {}},
        {"2-bit runs, deferred clear", 300, 40, runs, 4, {.clearWhenFull = false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifBuilder gif;
        gif.Header().Screen(
            {.width = c.width, .height = c.height, .globalColors = DistinctColors(c.colors)});
        gif.Image({.width = c.width, .height = c.height}, c.pixels, {.lzw = c.lzw}).Trailer();
        TempFile file(gif.Bytes());
        const OracleResult oracle = ReadWithGiflib(file.Path());
        ASSERT_TRUE(oracle.gif) << oracle.error;
        ASSERT_EQ(oracle.gif->frames.size(), 1u);
        EXPECT_TRUE(oracle.gif->frames[0].pixels == c.pixels);
        EXPECT_TRUE(AgreesWithGiflib(gif.Bytes()));
    }
}

TEST(GifOracle, FeatureSampleAgrees) { EXPECT_TRUE(AgreesWithGiflib(FeatureSampleGif().bytes)); }

TEST(GifOracle, ExtensionsOfManySubBlocksAgree) {
    GifBuilder gif;
    gif.Header().Screen(
        {.width = 6, .height = 4, .globalColors = DistinctColors(16), .background = 9});
    gif.Application("NETSCAPE2.0", {{1, 0x10, 0x27}, {5, 5, 5, 5, 5}});
    gif.Comment({std::string("nul\0inside", 10), std::string(255, 'z'), "!"});
    gif.PlainText(std::string(600, 't'));
    gif.Extension(0x42, {std::vector<uint8_t>(255, 0x2C), {0x3B}, {0x21, 0xF9}});
    gif.Application("XMP DataXMP",
                    {std::vector<uint8_t>(255, '<'), std::vector<uint8_t>(200, '>'), {1, 2, 3, 4}});
    gif.Control({.disposal = 2, .delay = 65535, .transparentIndex = 15});
    gif.Image({.width = 6, .height = 4, .interlaced = true}, CountingPixels(24, 16));
    gif.Comment({"between"}).Comment({"frames"});
    gif.Image({.left = 1, .top = 1, .width = 5, .height = 3, .localColors = DistinctColors(3)},
              CountingPixels(15, 3), {.subBlockSize = 1});
    gif.Comment({"after ", "all"}).Comment({"images"}).Trailer();
    EXPECT_TRUE(AgreesWithGiflib(gif.Bytes()));
}

TEST(GifOracle, LocalTablesOfEverySizeAgree) {
    GifBuilder gif;
    gif.Header().Screen({.width = 16, .height = 16, .globalColors = DistinctColors(64)});
    for (int bits = 1; bits <= 8; ++bits) {
        const int colors = 1 << bits;
        gif.Image({.width = 16, .height = 16, .localColors = DistinctColors(colors)},
                  CountingPixels(256, colors, bits));
        gif.Image({.width = 16, .height = 16}, CountingPixels(256, 64, bits));
    }
    gif.Trailer();
    EXPECT_TRUE(AgreesWithGiflib(gif.Bytes()));
}

TEST(GifOracle, InterlacedImagesOfManyHeightsAgree) {
    GifBuilder gif;
    gif.Header().Screen({.width = 7, .height = 33, .globalColors = DistinctColors(128)});
    for (uint16_t height = 1; height <= 33; ++height)
        gif.Image({.width = 7, .height = height, .interlaced = true},
                  CountingPixels(std::size_t{7} * height, 128, height));
    gif.Trailer();
    EXPECT_TRUE(AgreesWithGiflib(gif.Bytes()));
}

TEST(GifOracle, RandomFilesAgree) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(testing::Message() << "RandomGif(" << seed << ")");
        EXPECT_TRUE(AgreesWithGiflib(RandomGif(seed)));
        if (testing::Test::HasFailure()) break;  // one file's report is enough
    }
}

}  // namespace
}  // namespace anitrope::test
