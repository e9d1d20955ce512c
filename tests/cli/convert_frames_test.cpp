// The subcommands that write files: convert (read and write again) and frames (composed
// pictures as PNG files or a PPM stream).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "support/png_image.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;


std::string JsonWithoutFileName(const std::string& path) {
    std::string json = RunCliWith({"info", "--json", path}).out;
    return json.substr(json.find(",\"screenWidth\""));
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CliConvert, RoundTripKeepsEveryInfoField) {
    TempFile input(TwoFrameGif());
    TempDir dir;
    const CliResult result = RunCliWith({"convert", input.Path(), dir / "out.gif"});
    ASSERT_EQ(result.status, 0) << result.err;
    // Colour tables are written with 256 slots, so only their presence is compared there.
    std::string before = JsonWithoutFileName(input.Path());
    std::string after = JsonWithoutFileName(dir / "out.gif");
    for (std::string* json : {&before, &after})
        for (std::size_t at; (at = json->find("\"colors\":")) != std::string::npos;)
            json->erase(at, json->find_first_of(",}", at) - at);
    // Written files are never interlaced.
    before.replace(before.find("\"interlaced\":true"), 17, "\"interlaced\":false");
    EXPECT_EQ(before, after);
}

TEST(CliConvert, UnreadableInputOrUnwritableOutputFailsAndKeepsTheOldFile) {
    TempDir dir;
    std::ofstream(dir / "old.gif") << "previous";
    const CliResult missing = RunCliWith({"convert", dir / "none.gif", dir / "old.gif"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.gif: cannot open the file"), std::string::npos);
    TempFile input(TwoFrameGif());
    const CliResult blocked = RunCliWith({"convert", input.Path(), dir / "no-dir/x.gif"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("cannot write"), std::string::npos) << blocked.err;
    EXPECT_EQ(Slurp(dir / "old.gif"), "previous");
    EXPECT_EQ(RunCliWith({"convert", input.Path()}).status, 2);
}

TEST(CliFrames, SuiteFramesMatchTheReferencePictures) {
    const fs::path suite = fs::path(ANITROPE_TESTDATA_DIR) / "gif-test-suite" / "gifs";
    const std::string name = "animated_transparent_frame_restorebackground_loop";
    TempDir dir;
    const CliResult result =
        RunCliWith({"frames", (suite / (name + ".gif")).string(), dir.Path()});
    ASSERT_EQ(result.status, 0) << result.err;
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        const std::string file = name + "-" + std::to_string(k) + ".png";
        auto ours = ReadPngRgba(dir / file);
        auto reference = ReadPngRgba((suite / "frames" / file).string());
        ASSERT_TRUE(ours.image) << ours.error;
        ASSERT_TRUE(reference.image) << reference.error;
        ASSERT_EQ(ours.image->width, reference.image->width);
        ASSERT_EQ(ours.image->height, reference.image->height);
        int differing = 0;
        for (int y = 0; y < ours.image->height; ++y)
            for (int x = 0; x < ours.image->width; ++x) {
                const auto want = reference.image->At(x, y), got = ours.image->At(x, y);
                // Where the viewer shows nothing we show the background colour or nothing.
                if (want[3] == 255) differing += want != got;
            }
        EXPECT_EQ(differing, 0);
    }
    EXPECT_FALSE(fs::exists(dir / (name + "-4.png")));
}

TEST(CliFrames, NothingBeneathBecomesTransparent) {
    // A first frame that leaves the screen's left column uncovered, with a transparent pixel:
    // that pixel has nothing beneath it, the uncovered column shows the background colour.
    GifBuilder gif;
    gif.Header().Screen({.width = 3, .height = 1, .globalColors = DistinctColors(4),
                         .background = 2});
    gif.Control({.transparentIndex = 1});
    gif.Image({.left = 1, .width = 2, .height = 1}, std::vector<uint8_t>{0, 1}).Trailer();
    TempFile input(gif.Bytes());
    TempDir dir;
    ASSERT_EQ(RunCliWith({"frames", input.Path(), dir.Path()}).status, 0);
    const std::string stem = fs::path(input.Path()).stem().string();
    auto png = ReadPngRgba(dir / (stem + "-0.png"));
    ASSERT_TRUE(png.image) << png.error;
    ASSERT_EQ(png.image->width, 3);
    EXPECT_EQ(png.image->At(1, 0)[3], 255);
    EXPECT_EQ(png.image->At(2, 0)[3], 0);
    const Rgb background = DistinctColors(4)[2];
    EXPECT_EQ(png.image->At(0, 0), (std::array<uint8_t, 4>{uint8_t(background.red),
                                                            uint8_t(background.green),
                                                            uint8_t(background.blue), 255}));
}

TEST(CliFrames, PpmStreamHoldsOnePictureAFrameToFileOrStandardOutput) {
    TempFile input(TwoFrameGif());
    const CliResult piped = RunCliWith({"frames", "--ppm", input.Path(), "-"});
    ASSERT_EQ(piped.status, 0) << piped.err;
    const std::string header = "P6\n8 6\n255\n";
    const std::size_t one = header.size() + 8 * 6 * 3;
    ASSERT_EQ(piped.out.size(), 2 * one);
    EXPECT_EQ(piped.out.substr(0, header.size()), header);
    EXPECT_EQ(piped.out.substr(one, header.size()), header);

    TempDir dir;
    ASSERT_EQ(RunCliWith({"frames", "--ppm", input.Path(), dir / "all.ppm"}).status, 0);
    EXPECT_EQ(Slurp(dir / "all.ppm"), piped.out);
    EXPECT_EQ(RunCliWith({"frames", "--ppm", input.Path()}).status, 2);
}

// Twelve 2x2 frames: two digits per number.
std::vector<uint8_t> TwelveFrameGif() {
    GifBuilder gif;
    gif.Header().Screen({.width = 2, .height = 2, .globalColors = DistinctColors(4)});
    for (uint8_t k = 0; k < 12; ++k)
        gif.Image({.width = 2, .height = 2}, std::vector<uint8_t>(4, k % 4));
    gif.Trailer();
    return gif.Bytes();
}

TEST(CliFrames, NamedFramesAreNumberedAsExportAllImagesAndRefuseBadIndicators) {
    struct Case {
        std::vector<std::string> options;  // before the input; names relative to the folder
        int status;
        std::string first, last;  // the files of frames 0 and 11; none when refused
        std::string error;
        std::string magic = "GIF89a";
    };
    const std::vector<Case> cases{
        {{"--name", "x.gif"}, 0, "x00.gif", "x11.gif", ""},
        {{"--name", "x"}, 0, "x00", "x11", ""},
        {{"--name", "a**b.gif", "--indicator", "*"}, 0, "a00b.gif", "a11b.gif", ""},
        {{"--jpeg", "--quality", "40", "--name", "p.jpg"}, 0, "p00.jpg", "p11.jpg", "", "\xFF\xD8"},
        {{"--name", "f*.gif", "--indicator", "*"}, 2, "", "",
         "Found indicator 1 times, but only 2 occurrences allowed"},
        {{"--name", "f.gif", "--indicator", "*"}, 2, "", "", "Can't find Indicator in FileName"},
        {{"--name", "f**.gif", "--indicator", "**"}, 2, "", "",
         "Please specify exactly one character to be used as the indicator"},
        {{"--name", "f.gif", "--quality", "40"}, 2, "", "", "usage:"},
        {{"--name", "none/f.gif"}, 1, "", "", "none/f00.gif: cannot write the frame"},
    };
    TempFile input(TwelveFrameGif());
    for (const Case& c : cases) {
        TempDir dir;
        std::vector<std::string> args{"frames"};
        for (std::size_t i = 0; i < c.options.size(); ++i)
            args.push_back(i > 0 && c.options[i - 1] == "--name" ? dir / c.options[i]
                                                                 : c.options[i]);
        args.push_back(input.Path());
        const CliResult result = RunCliWith(args);
        const std::string label = c.options[1] + " " + c.options.back();
        EXPECT_EQ(result.status, c.status) << label << "\n" << result.err;
        EXPECT_NE(result.err.find(c.error), std::string::npos) << label << "\n" << result.err;
        const auto files =
            std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator());
        EXPECT_EQ(files, c.first.empty() ? 0 : 12) << label;
        if (c.first.empty()) continue;
        for (const std::string& name : {c.first, c.last})
            EXPECT_EQ(Slurp(dir / name).substr(0, c.magic.size()), c.magic) << label << " " << name;
    }
}

}  // namespace
}  // namespace anitrope::test
