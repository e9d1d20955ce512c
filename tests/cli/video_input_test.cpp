// info and convert with video inputs (the fixtures of tools/make-video-fixtures.sh): the
// description, frames at the video's own rate, ranges judged with the dialog's messages.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

const std::string kVideos = std::string(ANITROPE_SOURCE_DIR) + "/tests/data/video/";

TEST(CliVideo, InfoDescribesTheStream) {
    const CliResult text = RunCliWith({"info", kVideos + "pal8.avi"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "File: " + kVideos + "pal8.avi\n" +
                            "Video: 16 x 12, rawvideo (8-bit with a palette)\n"
                            "Frames: 10, indices 0 to 9\n"
                            "Frames per second: 10\n");
    const CliResult json = RunCliWith({"info", "--json", kVideos + "h264.mp4"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "{\"file\":\"" + kVideos +
                            "h264.mp4\",\"width\":32,\"height\":24,\"codec\":\"h264\","
                            "\"paletted\":false,\"frames\":15,\"firstIndex\":0,"
                            "\"framesPerSecond\":15}\n");
}

TEST(CliVideo, ConvertReadsTheRangeAsked) {
    const TempDir dir;
    const std::string out = dir / "out.gif";
    const std::string pal8 = kVideos + "pal8.avi", mjpeg = kVideos + "mjpeg.avi";
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> inputs;
        int status;
        // The end of the error line; when it worked, the first frame's colour at (1, 0) as
        // rrggbb (empty: not checked).
        std::string message;
        std::size_t frames = 0;
        int32_t delay = 0;
    } cases[] = {
        // Palette A: index k is (32k, 255 - 32k, 16); frame k has index k + 1 at (1, 0).
        {{}, {pal8}, 0, "20df10", 10, 10},
        {{"--from", "2", "--count", "3", "--reverse"}, {pal8}, 0, "609f10", 3, 10},
        {{"--from", "7"}, {pal8}, 2,
         "The first frame index is too high or the number of frames is too high."},
        {{"--count", "0"}, {pal8}, 2, "The number of Frames must be greater than 0."},
        {{"--count", "11"}, {pal8}, 2, "The AVI contains only 10 frames."},
        {{"--from", "x"}, {pal8}, 2, "--from takes a whole number"},
        // 12 frames a second show 8/100 s each, scaled onto the first input's 16 x 12.
        {{}, {pal8, mjpeg}, 0, "20df10", 22, 8},
        {{}, {mjpeg}, 0, "", 12, 8},
        {{}, {kVideos + "missing.mkv"}, 1, "missing.mkv: cannot open the file"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"convert"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), c.inputs.begin(), c.inputs.end());
        args.push_back(out);
        std::filesystem::remove(out);
        const CliResult result = RunCliWith(args);
        const std::string said = args[1] + " ... (" + result.err + ")";
        ASSERT_EQ(result.status, c.status) << said;
        if (c.status != 0) {
            EXPECT_NE(result.err.find(c.message + "\n"), std::string::npos) << said;
            EXPECT_FALSE(std::filesystem::exists(out)) << said;
            continue;
        }
        Animation doc;
        ASSERT_EQ(LoadGifDocument(doc, out), GifReadStatus::Ok) << said;
        ASSERT_EQ(doc.FrameCount(), c.frames) << said;
        EXPECT_EQ(doc.screenWidth, c.inputs[0] == pal8 ? 16 : 32) << said;
        EXPECT_EQ(doc.LastFrame()->width, static_cast<uint32_t>(doc.screenWidth)) << said;
        EXPECT_EQ(doc.LastFrame()->delay, c.delay) << said;
        if (c.message.empty()) continue;
        const PaletteEntry& e = EffectivePalette(*doc.head)[doc.head->indexed->Get(1, 0)];
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "%02x%02x%02x", e.red, e.green, e.blue);
        EXPECT_EQ(rgb, c.message) << said;
    }
}

}  // namespace
}  // namespace anitrope::test
