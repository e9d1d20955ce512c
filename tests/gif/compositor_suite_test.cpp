// Every frame of every file of the public GIF test suite, read and composed, against the
// suite's reference picture of that frame: what a viewer shows, disposals applied.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "model/palette_entry.h"
#include "support/png_image.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSuiteDir = fs::path(ANITROPE_TESTDATA_DIR) / "gif-test-suite" / "gifs";

std::vector<std::string> SuiteFiles() {
    std::vector<std::string> names;
    if (!fs::is_directory(kSuiteDir)) return names;
    for (const auto& entry : fs::directory_iterator(kSuiteDir))
        if (entry.path().extension() == ".gif") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Frame k of NAME.gif is frames/NAME-K.png; a single-frame file has frames/NAME.png.
fs::path ReferencePath(const std::string& name, std::size_t frame, std::size_t frames) {
    const std::string file = frames == 1 ? name : name + "-" + std::to_string(frame);
    return kSuiteDir / "frames" / (file + ".png");
}

// Within the reference's size (our screen may be larger: it grows to enclose frames that
// leave the file's screen): opaque reference pixels must match exactly; transparent ones must
// show nothing beneath or the background colour, as viewers differ in which they leave.
::testing::AssertionResult MatchesReference(const ScreenImage& shown, const RgbaImage& want,
                                            uint32_t background) {
    if (shown.Width() < want.width || shown.Height() < want.height)
        return ::testing::AssertionFailure()
               << "screen " << shown.Width() << "x" << shown.Height() << " is smaller than the "
               << want.width << "x" << want.height << " reference";
    for (int32_t y = 0; y < want.height; ++y) {
        for (int32_t x = 0; x < want.width; ++x) {
            const auto rgba = want.At(x, y);
            const uint32_t ours = shown.Get(x, y);
            const uint32_t theirs = uint32_t{rgba[0]} << 16 | uint32_t{rgba[1]} << 8 | rgba[2];
            const bool ok = rgba[3] == 255 ? ours == theirs
                            : rgba[3] == 0 ? ours == kNothingBeneathPixel || ours == background
                                           : false;
            if (!ok)
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": ours " << std::hex << ours
                       << ", reference " << theirs << " alpha " << std::dec << int{rgba[3]};
        }
    }
    return ::testing::AssertionSuccess();
}

class CompositorSuite : public ::testing::TestWithParam<std::string> {};

// Backwards first, so that each picture is replayed from the first frame with nothing cached,
// then forwards again, so that each one starts from the picture before it.
TEST_P(CompositorSuite, EveryFrameShowsTheReferencePicture) {
    const std::string name = GetParam();
    Animation animation;
    ASSERT_EQ(LoadGifDocument(animation, (kSuiteDir / (name + ".gif")).string()),
              GifReadStatus::Ok);
    const std::size_t frames = animation.FrameCount();
    ASSERT_GT(frames, 0u);
    std::vector<RgbaImage> references;
    for (std::size_t k = 0; k < frames; ++k) {
        PngReadResult reference = ReadPngRgba(ReferencePath(name, k, frames).string());
        ASSERT_TRUE(reference.image) << reference.error;
        references.push_back(std::move(*reference.image));
    }
    Compositor compositor(animation, nullptr);
    const uint32_t background = PaletteRgb(animation.globalPalette[animation.backgroundIndex]);
    auto check = [&](std::size_t k, const char* pass) {
        const auto shown = compositor.GetDisplayBitmap(*animation.FrameAt(k));
        ASSERT_NE(shown, nullptr) << pass << " frame " << k;
        EXPECT_TRUE(MatchesReference(*shown, references[k], background))
            << name << ", " << pass << " frame " << k;
    };
    for (std::size_t k = frames; k-- > 0;) check(k, "backwards,");
    EXPECT_EQ(compositor.Compositions(), frames);
    // Every picture is stale now, and each is composed once more.
    MarkAllPicturesChanged(animation);
    for (std::size_t k = 0; k < frames; ++k) check(k, "forwards,");
    EXPECT_EQ(compositor.Compositions(), 2 * frames);
}

// Starting the compositions of a loaded document composes the first frame at once and queues
// the others; the queued pictures are the same as the ones composed on demand, and each frame
// is composed once.
TEST_P(CompositorSuite, StartedCompositionsComposeEveryFrame) {
    const std::string name = GetParam();
    JobScheduler scheduler(2);
    Animation animation;
    ASSERT_EQ(LoadGifDocument(animation, (kSuiteDir / (name + ".gif")).string()),
              GifReadStatus::Ok);
    Compositor compositor(animation, &scheduler);
    const std::size_t frames = animation.FrameCount();
    compositor.StartCompositions(animation.head, frames);
    EXPECT_NE(compositor.CachedDisplayBitmap(*animation.head), nullptr)
        << "first frame not composed";
    compositor.WaitForCompositions();
    EXPECT_EQ(compositor.Compositions(), frames);
    const uint32_t background = PaletteRgb(animation.globalPalette[animation.backgroundIndex]);
    for (std::size_t k = 0; k < frames; ++k) {
        const Gif& frame = *animation.FrameAt(k);
        const auto shown = compositor.CachedDisplayBitmap(frame);
        ASSERT_NE(shown, nullptr) << "frame " << k << " was not composed";
        PngReadResult reference = ReadPngRgba(ReferencePath(name, k, frames).string());
        ASSERT_TRUE(reference.image) << reference.error;
        EXPECT_TRUE(MatchesReference(*shown, *reference.image, background))
            << name << " frame " << k;
        EXPECT_EQ(compositor.GetDisplayBitmap(frame), shown) << "frame " << k;
    }
    EXPECT_EQ(compositor.Compositions(), frames);
}

INSTANTIATE_TEST_SUITE_P(GifTestSuite, CompositorSuite, ::testing::ValuesIn(SuiteFiles()),
                         [](const auto& test) { return test.param; });

// An empty list would only show as a suite never instantiated.
TEST(CompositorSuiteFiles, SuiteIsPresent) { EXPECT_FALSE(SuiteFiles().empty()) << kSuiteDir; }

}  // namespace
}  // namespace anitrope::test
