// The public GIF test suite: real encoder output with looping, delays, interlace,
// transparency and every disposal. Our reading must agree with giflib, and the frames that
// need no composition must show exactly the suite's reference pictures.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/animation_dump.h"
#include "support/gif_loading.h"
#include "support/giflib_oracle.h"
#include "support/png_image.h"

namespace anitrope::test {
namespace {

const std::string kSuiteDir = ANITROPE_TESTDATA_DIR "/gif-test-suite/gifs/";

const char* const kSuiteFiles[] = {
    "animated_loop",
    "animated_loop_interlaced",
    "animated_loop_variable_delay",
    "animated_noloop",
    "animated_transparent_firstframerestoreprev_loop",
    "animated_transparent_frame_norestore_loop",
    "animated_transparent_frame_restorebackground_loop",
    "animated_transparent_frame_restoreprev_loop",
    "animated_transparent_loop",
    "animated_transparent_loop_frames_out_of_bounds",
    "animated_transparent_restoreprev_loop",
    "static_nontransparent",
    "static_transparent",
};

std::string GifPath(const std::string& name) { return kSuiteDir + name + ".gif"; }

// Frame k of NAME.gif is frames/NAME-K.png; a single-frame file has frames/NAME.png.
std::string ReferencePath(const std::string& name, std::size_t frame, std::size_t frames) {
    if (frames == 1) return kSuiteDir + "frames/" + name + ".png";
    return kSuiteDir + "frames/" + name + "-" + std::to_string(frame) + ".png";
}

GifLoad LoadSuiteFile(const std::string& name) {
    GifLoad load;
    load.animation = std::make_unique<Animation>();
    load.path = GifPath(name);
    load.status = LoadGifDocument(*load.animation, load.path);
    return load;
}

// Compares a frame that covers the whole reference picture with it, pixel by pixel. Where the
// frame is transparent the picture must be transparent too: only valid for a frame with
// nothing beneath it.
::testing::AssertionResult ShowsReference(const Gif& frame, const RgbaImage& reference) {
    if (frame.left != 0 || frame.top != 0 || static_cast<int32_t>(frame.width) != reference.width ||
        static_cast<int32_t>(frame.height) != reference.height) {
        return ::testing::AssertionFailure() << "frame does not cover the " << reference.width
                                             << "x" << reference.height << " reference";
    }
    const Palette& palette = EffectivePalette(frame);
    for (int32_t y = 0; y < reference.height; ++y) {
        for (int32_t x = 0; x < reference.width; ++x) {
            const uint8_t index = frame.indexed->Get(x, y);
            const auto want = reference.At(x, y);
            if (frame.transparent && index == frame.transparentIndex) {
                if (want[3] != 0)
                    return ::testing::AssertionFailure()
                           << "pixel " << x << "," << y << ": transparent in the frame, alpha "
                           << int{want[3]} << " in the reference";
                continue;
            }
            const PaletteEntry& got = palette[index];
            if (want[3] != 255 || got.red != want[0] || got.green != want[1] ||
                got.blue != want[2]) {
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " (index " << int{index} << "): expected "
                       << int{want[0]} << "," << int{want[1]} << "," << int{want[2]} << " alpha "
                       << int{want[3]} << ", actual " << got.red << "," << got.green << ","
                       << got.blue;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class GifTestSuite : public ::testing::TestWithParam<const char*> {};

TEST_P(GifTestSuite, ReadsLikeGiflib) {
    const std::string name = GetParam();
    const OracleResult oracle = ReadWithGiflib(GifPath(name));
    ASSERT_TRUE(oracle.gif) << oracle.error;
    GifLoad load = LoadSuiteFile(name);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const std::vector<std::string> differences =
        OracleDifferences(*oracle.gif, *load.animation, true);
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences) << "\n"
                                     << DumpAnimation(*load.animation);
}

TEST_P(GifTestSuite, FramesNeedingNoCompositionMatchTheReferencePictures) {
    const std::string name = GetParam();
    GifLoad load = LoadSuiteFile(name);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const std::size_t frames = load.FrameCount();
    std::size_t compared = 0;
    for (std::size_t k = 0; k < frames; ++k) {
        const Gif& frame = load.Frame(k);
        // A transparent frame shows what lies beneath it, except the first, over nothing.
        if (frame.transparent && k > 0) continue;
        const PngReadResult reference = ReadPngRgba(ReferencePath(name, k, frames));
        ASSERT_TRUE(reference.image) << reference.error;
        if (frame.left != 0 || frame.top != 0 ||
            static_cast<int32_t>(frame.width) != reference.image->width ||
            static_cast<int32_t>(frame.height) != reference.image->height)
            continue;
        EXPECT_TRUE(ShowsReference(frame, *reference.image)) << "frame " << k;
        ++compared;
    }
    // Every file but one starts with a frame over the whole screen; that one places its first
    // frame off the screen, at 200,0.
    if (name != "animated_transparent_loop_frames_out_of_bounds") {
        EXPECT_GE(compared, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GifTestSuite, ::testing::ValuesIn(kSuiteFiles));

TEST(GifTestSuiteFiles, ListCoversTheWholeSuite) {
    std::size_t onDisk = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSuiteDir))
        if (entry.path().extension() == ".gif") ++onDisk;
    EXPECT_EQ(onDisk, std::size(kSuiteFiles));
}

TEST(GifTestSuiteFiles, HandCheckedFacts) {
    GifLoad noLoop = LoadSuiteFile("animated_noloop");
    ASSERT_EQ(noLoop.status, GifReadStatus::Ok);
    EXPECT_FALSE(noLoop.animation->hasLoopExtension);
    EXPECT_EQ(noLoop.FrameCount(), 4u);
    EXPECT_EQ(noLoop.animation->screenWidth, 100);
    EXPECT_EQ(noLoop.animation->screenHeight, 100);
    EXPECT_EQ(noLoop.Frame(0).delay, 100);
    EXPECT_EQ(noLoop.Frame(0).disposal, 1u);
    EXPECT_EQ(UsedPaletteSlots(noLoop.animation->globalPalette), 32);

    GifLoad loop = LoadSuiteFile("animated_loop");
    ASSERT_EQ(loop.status, GifReadStatus::Ok);
    EXPECT_TRUE(loop.animation->hasLoopExtension);
    EXPECT_EQ(loop.animation->loopCount, 0);
    EXPECT_EQ(loop.FrameCount(), 4u);

    GifLoad interlaced = LoadSuiteFile("animated_loop_interlaced");
    ASSERT_EQ(interlaced.status, GifReadStatus::Ok);
    ASSERT_EQ(interlaced.FrameCount(), 4u);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(interlaced.Frame(k).interlaced, 1u) << k;

    GifLoad single = LoadSuiteFile("static_nontransparent");
    ASSERT_EQ(single.status, GifReadStatus::Ok);
    EXPECT_EQ(single.FrameCount(), 1u);
}

}  // namespace
}  // namespace anitrope::test
