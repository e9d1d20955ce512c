#include "cli/info_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(InfoText, EveryFieldOfATwoFrameFile) {
    TempFile file(TwoFrameGif());
    const CliResult result = RunCliWith({"info", file.Path()});
    EXPECT_EQ(result.out,
              "File: " + file.Path() +
                  "\n"
                  "Screen: 8 x 6\n"
                  "Background index: 2\n"
                  "Loop count: 3\n"
                  "Global palette: 4 colors\n"
                  "Comment: \"say \\\"hi\\\"\\u000a\\u00ff\"\n"
                  "Frames: 2\n"
                  "  Frame 1: at 0,0, size 8 x 6, delay 25 (0.25 s), disposal 2 (Restore Backgr "
                  "Color), transparent: index 3, local palette: none, interlaced: no\n"
                  "    Comment: \"first frame\"\n"
                  "  Frame 2: at 2,1, size 4 x 3, delay 7 (0.07 s), disposal 5 (Reserved), "
                  "transparent: no, local palette: 16 colors, interlaced: yes\n");
    EXPECT_EQ(result.status, 0);
}

std::string LoopLineOf(const std::vector<uint8_t>& bytes) {
    TempFile file(bytes);
    std::istringstream lines(RunCliWith({"info", file.Path()}).out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Loop count: ", 0) == 0) return line;
    }
    return "(no loop line)";
}

TEST(InfoText, LoopCountVariants) {
    EXPECT_EQ(LoopLineOf(LoopingGif(0)), "Loop count: Infinite Looping");
    EXPECT_EQ(LoopLineOf(LoopingGif(1)), "Loop count: 1");
    EXPECT_EQ(LoopLineOf(LoopingGif(65535)), "Loop count: 65535");
    EXPECT_EQ(LoopLineOf(LoopingGif(std::nullopt)),
              "Loop count: none, plays once (no looping extension)");
}

// A document made in memory, for values no small file produces.
std::string FrameLineWithDelay(int32_t delay) {
    Animation animation;
    animation.head = CreateGif(animation, nullptr, nullptr);
    animation.head->delay = delay;
    std::ostringstream out;
    WriteInfoText(animation, "x.gif", out);
    const std::string text = out.str();
    const auto start = text.find("delay ");
    return text.substr(start, text.find(',', start) - start);
}

TEST(InfoText, DelayShowsHundredthsAndSeconds) {
    EXPECT_EQ(FrameLineWithDelay(0), "delay 0 (0.00 s)");
    EXPECT_EQ(FrameLineWithDelay(5), "delay 5 (0.05 s)");
    EXPECT_EQ(FrameLineWithDelay(100), "delay 100 (1.00 s)");
    EXPECT_EQ(FrameLineWithDelay(65535), "delay 65535 (655.35 s)");
    EXPECT_EQ(FrameLineWithDelay(-3), "delay -3");  // only made in memory, never read
}

TEST(InfoText, DocumentWithoutFramesStillDescribesTheScreen) {
    Animation animation;
    animation.screenWidth = 3;
    animation.screenHeight = 4;
    std::ostringstream out;
    WriteInfoText(animation, "empty.gif", out);
    EXPECT_EQ(out.str(),
              "File: empty.gif\nScreen: 3 x 4\nBackground index: 0\n"
              "Loop count: Infinite Looping\nGlobal palette: none\nFrames: 0\n");
}

}  // namespace
}  // namespace anitrope::test
