#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "effects/effect_entry.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

// Four colours whose channels rise and fall between the frames, so that a difference divided
// with the wrong rounding (floor instead of toward zero) shows. Even channels: the reduction
// counts colours without their lowest bit, so these come back exactly.
constexpr std::array<Rgb, 4> kColors{
    Rgb{200, 10, 100}, Rgb{0, 0, 0}, Rgb{10, 200, 102}, Rgb{254, 254, 254}};

// A computed colour as it comes back from the reduction.
Rgb Reduced(Rgb c) {
    return {static_cast<uint8_t>(c.red & 0xFE), static_cast<uint8_t>(c.green & 0xFE),
            static_cast<uint8_t>(c.blue & 0xFE)};
}
constexpr uint8_t kBackground = 2;

// 4x2, two full-screen frames of two colours each: frame 1 is colour 0 left, 1 right; frame 2
// is colour 2 left, 3 right. Every frame made from them has two colours, which a reduction keeps.
std::vector<uint8_t> TwoColorFrames() {
    GifBuilder gif;
    gif.Header().Screen({.width = 4,
                         .height = 2,
                         .globalColors = ColorTable(kColors.begin(), kColors.end()),
                         .background = kBackground});
    gif.Image({.width = 4, .height = 2}, std::vector<uint8_t>{0, 0, 1, 1, 0, 0, 1, 1});
    gif.Image({.width = 4, .height = 2}, std::vector<uint8_t>{2, 2, 3, 3, 2, 2, 3, 3});
    gif.Trailer();
    return gif.Bytes();
}

Rgb PixelOf(const Gif& gif, int32_t x, int32_t y) {
    const PaletteEntry& e = EffectivePalette(gif)[gif.indexed->Get(x, y)];
    return {static_cast<uint8_t>(e.red), static_cast<uint8_t>(e.green), static_cast<uint8_t>(e.blue)};
}

class CliEffect : public ::testing::Test {
protected:
    CliResult Run(std::vector<std::string> words) {
        words.push_back(input_.Path());
        words.push_back(Output());
        return RunCliWith(words);
    }
    std::string Output() const { return dir_ / "out.gif"; }
    std::unique_ptr<Animation> LoadOutput() const {
        auto animation = std::make_unique<Animation>();
        EXPECT_EQ(LoadGifDocument(*animation, Output()), GifReadStatus::Ok);
        return animation;
    }
    static std::vector<Rgb> LeftAndRight(const Gif& gif) {
        return {PixelOf(gif, 0, 1), PixelOf(gif, 3, 1)};
    }

    TempFile input_{TwoColorFrames()};
    TempDir dir_;
};

TEST_F(CliEffect, FadeTransitionPutsEvenStepsBetweenTheTwoFrames) {
    for (const char* name : {"fade", "FADE"}) {
        const CliResult result = Run({"transition", name, "--frames", "8"});
        ASSERT_EQ(result.status, 0) << result.err;
        const auto out = LoadOutput();
        ASSERT_EQ(out->FrameCount(), 10u) << name;
        EXPECT_EQ(LeftAndRight(*out->FrameAt(0)), (std::vector<Rgb>{kColors[0], kColors[1]}));
        EXPECT_EQ(LeftAndRight(*out->FrameAt(9)), (std::vector<Rgb>{kColors[2], kColors[3]}));
        for (int k = 1; k <= 8; ++k) {
            const auto step = [k](const Rgb& a, const Rgb& b) {
                const auto channel = [k](int x1, int x2) {
                    return static_cast<uint8_t>(x1 + (x2 - x1) * k / 9);
                };
                return Reduced({channel(a.red, b.red), channel(a.green, b.green),
                                channel(a.blue, b.blue)});
            };
            EXPECT_EQ(LeftAndRight(*out->FrameAt(static_cast<std::size_t>(k))),
                      (std::vector<Rgb>{step(kColors[0], kColors[2]), step(kColors[1], kColors[3])}))
                << name << " step " << k;
        }
    }
}

TEST_F(CliEffect, FadeOutEndsInTheChosenPaletteColour) {
    struct Case {
        std::vector<std::string> color;
        Rgb expected;
    };
    const Case cases[] = {
        {{}, kColors[kBackground]},
        {{"--color", "3"}, kColors[3]},
        {{"--color", "#FEFEFE"}, kColors[3]},
        {{"--color", "#0BC765"}, kColors[2]},  // the nearest: no entry has it
    };
    for (const Case& c : cases) {
        std::vector<std::string> words{"effect", "Fade Out", "--frames", "4", "--frame", "2"};
        words.insert(words.end(), c.color.begin(), c.color.end());
        const CliResult result = Run(words);
        ASSERT_EQ(result.status, 0) << result.err;
        const auto out = LoadOutput();
        ASSERT_EQ(out->FrameCount(), 6u);
        EXPECT_EQ(LeftAndRight(*out->FrameAt(5)), (std::vector<Rgb>{c.expected, c.expected}))
            << "the new frames follow frame 2";
    }
}

TEST_F(CliEffect, RefusalsExitTwoWithTheirMessageAndWriteNothing) {
    struct Case {
        std::vector<std::string> words;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"transition", "Fade", "--frames", "1"}, "At least two frames are required for this transition !"},
        {{"transition", "Fade", "--frames", "0"}, "Invalid Parameter: Number of Frames must be larger than Zero !"},
        {{"transition", "Fade", "--frames", "1", "--pingpong"},
         "Number of Frames must be larger than one if PingPong is selected !"},
        {{"effect", "Blur", "--value1", "101"}, "Parameter out of Range: Valid values for Strength : 0-100"},
        {{"effect", "Blur", "--value2", "5"}, "Blur does not use --value2"},
        {{"effect", "Blur", "--pingpong"}, "Blur does not use --pingpong"},
        {{"transition", "Fade", "--color", "1"}, "Fade does not use --color"},
        {{"effect", "Fade Out", "--color", "#12345"}, "--color takes a palette index"},
        {{"effect", "Fade Out", "--color", "256"}, "--color takes a palette index"},
        {{"effect", "Fade Out", "--check1", "1"}, "Fade Out does not use --check1"},
        {{"effect", "Fade Out", "--frames", "x"}, "--frames takes a whole number"},
        {{"effect", "Fade Out", "--speed", "2"}, "unknown option --speed"},
        {{"transition", "Fade", "--dither"}, "--dither needs --quality high"},
        {{"transition", "Fade", "--quality", "best"}, "--quality takes popularity or high, not 'best'"},
        {{"effect", "Fade"}, "'Fade' is a transition"},
        {{"effect", "Blurr"}, "close names: \"Blur\""},
        {{"transition", "Nothing like it"}, "transition --list"},
        {{"effect", "Fade Out", "--frame", "3"}, "--frame 3: "},
        {{"effect", "Fade Out", "--frame", "0"}, "--frame takes a frame number"},
        {{"transition", "Random Rects", "--seed", "-1"}, "--seed takes a whole number from 0"},
        // The blind's limit is the height of frame K, 2 rows.
        {{"effect", "Blind", "--value1", "3"},
         "Parameter out of Range: Valid values for Blind height : 2-2(picture height)"},
        {{"transition", "Fade", "--frame", "2"},
         "Transitions can only be performed between the selected Image and its successor."},
    };
    for (const Case& c : cases) {
        const CliResult result = Run(c.words);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(Output())) << c.message;
    }
    // The second frame of this one lies elsewhere and is smaller.
    TempFile shifted(TwoFrameGif());
    const CliResult result = RunCliWith({"transition", "Fade", shifted.Path(), Output()});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Size of second Image doesn't match"), std::string::npos) << result.err;
}

// 2 x 2 rectangles of 2 x 1, two a frame. Seed 4321 draws 14149 and 19327: positions
// 14149 x 4 / 32767 = 1 of 4 free and 19327 x 3 / 32767 = 1 of 3, so the first new frame shows
// image 2 top right and bottom left; the same seed places them the same way again.
TEST_F(CliEffect, SameSeedSameFile) {
    const std::vector<std::string> words{"transition", "Random Rects", "--frames", "2",
                                         "--value1", "2", "--value2", "2", "--seed", "4321"};
    std::vector<std::string> runs;
    for (int run = 0; run < 2; ++run) {
        const CliResult result = Run(words);
        ASSERT_EQ(result.status, 0) << result.err;
        std::ifstream file(Output(), std::ios::binary);
        runs.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    EXPECT_EQ(runs[0], runs[1]);
    const auto out = LoadOutput();
    ASSERT_EQ(out->FrameCount(), 4u);
    const Gif& middle = *out->FrameAt(1);
    EXPECT_EQ((std::vector<Rgb>{PixelOf(middle, 0, 0), PixelOf(middle, 2, 0), PixelOf(middle, 0, 1),
                                PixelOf(middle, 2, 1)}),
              (std::vector<Rgb>{kColors[0], kColors[3], kColors[2], kColors[1]}));
}

TEST_F(CliEffect, ListDescribesBothTables) {
    const CliResult result = RunCliWith({"transition", "--list"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (bool effect : {true, false}) {
        const auto table = EntryTable(effect);
        for (std::size_t i = 0; i < table.size(); ++i) {
            const std::string line = "  " + std::to_string(i) + "  " + table[i].name + "  (" +
                                     (table[i].Available() ? "available" : "not available yet") + ")\n";
            EXPECT_NE(result.out.find(line), std::string::npos) << line;
        }
    }
    EXPECT_EQ(result.out.find("not available yet"), std::string::npos) << "every entry is built";
    EXPECT_NE(result.out.find("--value1 \"Strength(0-100)\" default 20\n"), std::string::npos);
    EXPECT_NE(result.out.find("--direction \"Direction\": 0 Top/Bottom (default), 1 Left/Right\n"),
              std::string::npos);
    EXPECT_EQ(RunCliWith({"effect", "--list"}).out, result.out);
}

}  // namespace
}  // namespace anitrope::test
