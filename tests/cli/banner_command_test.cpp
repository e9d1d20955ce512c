#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(CliBanner, RefusalsExitTwoWithTheirMessageAndWriteNothing) {
    struct Case {
        std::vector<std::string> words;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"--width", "3000"}, "banner: The 'Image Width' value must be in the range from 1 to 2048"},
        {{"--frames", "0"}, "The 'Nr. of Frames' value must be in the range from 1 to 1000"},
        {{"--text-color", "red"}, "--text-color takes a colour #RRGGBB, not 'red'"},
        {{"--background", "#12345G"}, "--background takes a colour #RRGGBB"},
        {{"--shadow", "9,7,8"}, "--shadow takes X,Y,THICKNESS,INTENSITY"},
        {{"--shadow", "9,7,8,101"}, "--shadow takes X,Y,THICKNESS,INTENSITY"},
        {{"--shadow", "9,7,21,14"}, "The 'Shadow Thickness' value must be in the range from 0 to 20"},
        {{"--size", "401"}, "--size takes a height in pixels from -400 to 400"},
        {{"--speed", "2"}, "unknown option --speed"},
        {{"--level", "6"}, "--level takes a number from 1 to 5"},
        {{"--text", std::string(2049, 'a')}, "at most 2048 characters"},
        // Every value within the dialog's ranges, yet 20 GB of frames.
        {{"--frames", "1000", "--width", "2048", "--height", "2048"}, "need more than the 2048 MB"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::vector<std::string> words{"banner"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        words.push_back(dir / "out.gif");
        const CliResult result = RunCliWith(words);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.gif")) << c.message;
    }
    EXPECT_NE(RunCliWith({"banner", "a.gif", "b.gif"}).err.find("takes one OUT.gif"),
              std::string::npos);
}

// Dark red glyph cores survive the reduction to 256 colours within a few steps; the pale
// shadow and the white background are far from it.
bool IsTextColor(const PaletteEntry& e) {
    return std::abs(e.red - 0xC0) <= 8 && e.green <= 8 && e.blue <= 8;
}

// The mean column of the frame's text-coloured pixels, -1 when it has none.
double TextColumn(const Gif& gif) {
    double sum = 0;
    int count = 0;
    for (uint32_t y = 0; y < gif.height; ++y)
        for (uint32_t x = 0; x < gif.width; ++x)
            if (IsTextColor(EffectivePalette(gif)[gif.indexed->Get(static_cast<int32_t>(x),
                                                                    static_cast<int32_t>(y))])) {
                sum += x;
                ++count;
            }
    return count ? sum / count : -1;
}

TEST(CliBanner, TextEntersOnTheRightAndLeavesOnTheLeft) {
    TempDir dir;
    const CliResult result =
        RunCliWith({"banner", "--text", "Hello", "--frames", "5", "--width", "100", "--height",
                    "40", "--text-color", "#C00000", "--delay", "7", dir / "out.gif"});
    ASSERT_EQ(result.status, 0) << result.err;
    Animation animation;
    ASSERT_EQ(LoadGifDocument(animation, dir / "out.gif"), GifReadStatus::Ok);
    ASSERT_EQ(animation.FrameCount(), 5u);
    EXPECT_EQ(animation.screenWidth, 100);
    EXPECT_EQ(animation.screenHeight, 40);
    std::vector<double> columns;
    for (const Gif* gif = animation.head; gif; gif = gif->next) {
        EXPECT_EQ(gif->width, 100u);
        EXPECT_EQ(gif->height, 40u);
        EXPECT_EQ(gif->delay, 7);
        columns.push_back(TextColumn(*gif));
    }
    // The text starts just beyond the right edge and ends just beyond the left one.
    EXPECT_EQ(columns.front(), -1);
    EXPECT_EQ(columns.back(), -1);
    EXPECT_GT(columns[1], columns[2]) << "moves right to left";
    EXPECT_GT(columns[2], columns[3]) << "moves right to left";
    EXPECT_GE(columns[3], 0);
}

}  // namespace
}  // namespace anitrope::test
