#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "formats/png_writer.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

class CliQuantize : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir_ / name; }
    TempDir dir_;
};

TEST_F(CliQuantize, FewEvenColoursAndTransparencySurviveExactly) {
    // Even channels survive the first mask, which drops the lowest bit.
    RgbaPicture picture{3, 2, {}};
    picture.pixels = {10, 20, 30, 255,  200, 100, 50, 255, 10, 20, 30, 255,
                      0,  0,  0,  0,    200, 100, 50, 255, 2,  4,  6,  255};
    ASSERT_TRUE(WritePngFile(Path("in.png"), picture));
    const CliResult result = RunCliWith({"quantize", Path("in.png"), Path("out.gif")});
    ASSERT_EQ(result.status, 0) << result.err;
    Animation doc;
    ASSERT_EQ(LoadGifDocument(doc, Path("out.gif")), GifReadStatus::Ok);
    ASSERT_EQ(doc.FrameCount(), 1u);
    const Gif& frame = *doc.head;
    ASSERT_EQ(frame.width, 3u);
    ASSERT_EQ(frame.height, 2u);
    EXPECT_EQ(frame.transparent, 1);
    for (int i = 0; i < 6; ++i) {
        const uint8_t* want = &picture.pixels[static_cast<std::size_t>(i) * 4];
        const uint8_t index = frame.indexed->Get(i % 3, i / 3);
        if (want[3] == 0) {
            EXPECT_EQ(index, frame.transparentIndex) << "pixel " << i;
            continue;
        }
        EXPECT_NE(index, frame.transparentIndex) << "pixel " << i;
        EXPECT_EQ(frame.palette[index], (PaletteEntry{want[0], want[1], want[2]})) << "pixel " << i;
    }
}

TEST_F(CliQuantize, ManyColoursStayClose) {
    RgbaPicture picture{64, 64, {}};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.pixels.insert(picture.pixels.end(),
                                  {uint8_t(x * 4), uint8_t(y * 4), uint8_t((x + y) * 2), 255});
    ASSERT_TRUE(WritePngFile(Path("gradient.png"), picture));
    struct Case {
        std::vector<std::string> options;
        int worst;  // largest channel difference allowed
    };
    const Case cases[] = {
        // 4096 colours onto 255: coarsening to 4 bits a channel leaves at most 15 per
        // channel, and the most frequent colours then cover the picture.
        {{}, 40},
        // 255 clusters tile the gradient's plane in squares of about 4 x 4 pixels, 16 steps
        // a side: no pixel is much more than half a square from its colour.
        {{"--quality", "high"}, 16},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words{"quantize"};
        words.insert(words.end(), c.options.begin(), c.options.end());
        words.insert(words.end(), {Path("gradient.png"), Path("g.gif")});
        const CliResult result = RunCliWith(words);
        ASSERT_EQ(result.status, 0) << result.err;
        Animation doc;
        ASSERT_EQ(LoadGifDocument(doc, Path("g.gif")), GifReadStatus::Ok);
        const Gif& frame = *doc.head;
        int worst = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const PaletteEntry& got = frame.palette[frame.indexed->Get(x, y)];
                const uint8_t* want = &picture.pixels[static_cast<std::size_t>(y * 64 + x) * 4];
                worst = std::max({worst, std::abs(got.red - want[0]),
                                  std::abs(got.green - want[1]), std::abs(got.blue - want[2])});
            }
        EXPECT_LE(worst, c.worst) << words[1];
    }
}

TEST_F(CliQuantize, UnreadableInputFailsWithItsReason) {
    std::ofstream(Path("x.png")) << "not a picture";
    const CliResult result = RunCliWith({"quantize", Path("x.png"), Path("o.gif")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("not a readable PNG file"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(Path("o.gif")));
    // A name that says nothing leaves it to the file's first bytes.
    std::ofstream(Path("x.dat")) << "not a picture";
    const CliResult unknown = RunCliWith({"quantize", Path("x.dat"), Path("o.gif")});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("not a PNG, BMP, JPEG or binary PPM file"), std::string::npos) << unknown.err;
    EXPECT_EQ(RunCliWith({"quantize", Path("x.png")}).status, 2);
    const CliResult dither = RunCliWith({"quantize", "--dither", Path("x.png"), Path("o.gif")});
    EXPECT_EQ(dither.status, 2);
    EXPECT_NE(dither.err.find("--dither needs --quality high"), std::string::npos) << dither.err;
    EXPECT_EQ(RunCliWith({"quantize", "--quality", "best", Path("x.png"), Path("o.gif")}).status,
              2);
}

}  // namespace
}  // namespace anitrope::test
