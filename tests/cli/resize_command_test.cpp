#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "support/picture_files.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

using Place = std::array<int64_t, 4>;  // left, top, width, height

uint32_t ColorAt(const Gif& g, int32_t x, int32_t y) {
    return PaletteRgb(EffectivePalette(g)[g.indexed->Get(x, y)]);
}

// TwoFrameGif: an 8x6 screen filled by a transparent frame, then a 4x3 frame at (2,1), which
// scales from the screen: left trunc(2f - 0.5), top round(f), size round(4f) x round(3f).
TEST(CliResize, ScalesTheScreenWithItsFramesOrRefusesClearly) {
    TempDir dir;
    const std::string in = dir / "in.gif", out = dir / "out.gif";
    WriteBytes(in, TwoFrameGif());
    struct Row {
        std::vector<std::string> options;
        int status;
        std::string complaint;      // of a refusal
        std::vector<Place> frames;  // after a success
    };
    const std::vector<Row> rows{
        {{"--width", "16", "--height", "12"}, 0, "", {{0, 0, 16, 12}, {3, 2, 8, 6}}},
        {{"--smooth", "--height", "3", "--width", "4"}, 0, "", {{0, 0, 4, 3}, {0, 1, 2, 2}}},
        {{"--width", "4", "--height", "3", "--keep-transparency"},
         0,
         "",
         {{0, 0, 4, 3}, {0, 0, 4, 3}}},
        {{"--width", "16"}, 2, "both --width and --height are needed", {}},
        {{"--width", "16", "--height"}, 2, "--height takes a number from 1 to 16384", {}},
        {{"--width", "0", "--height", "5"}, 2, "--width takes a number from 1 to 16384", {}},
        {{"--width", "16384", "--height", "16384"}, 2, "is more than 67108864 pixels", {}},
        {{"--width", "8", "--height", "8", "--sharp"}, 2, "unknown option '--sharp'", {}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"resize"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        args.insert(args.end(), {in, out});
        SCOPED_TRACE(row.options[0] + " " + row.options[1]);
        std::filesystem::remove(out);
        const CliResult result = RunCliWith(args);
        ASSERT_EQ(result.status, row.status) << result.err;
        EXPECT_NE(result.err.find(row.complaint), std::string::npos) << result.err;
        if (row.status != 0) continue;
        Animation resized;
        ASSERT_EQ(LoadGifDocument(resized, out), GifReadStatus::Ok);
        EXPECT_EQ((Place{0, 0, resized.screenWidth, resized.screenHeight}), row.frames[0]);
        std::vector<Place> frames;
        for (const Gif* g = resized.head; g; g = g->next)
            frames.push_back({g->left, g->top, g->width, g->height});
        EXPECT_EQ(frames, row.frames);
        if (row.options[1] != "16") continue;
        // Nearest neighbour: each pixel repeated, colour for colour.
        Animation original;
        ASSERT_EQ(LoadGifDocument(original, in), GifReadStatus::Ok);
        for (const Gif *g = original.head, *h = resized.head; g && h; g = g->next, h = h->next)
            for (int32_t i = 0; i < static_cast<int32_t>(h->width * h->height); ++i) {
                const int32_t x = i % static_cast<int32_t>(h->width),
                              y = i / static_cast<int32_t>(h->width);
                ASSERT_EQ(ColorAt(*h, x, y), ColorAt(*g, x / 2, y / 2)) << x << "," << y;
            }
    }
    const CliResult missing =
        RunCliWith({"resize", "--width", "4", "--height", "3", dir / "none.gif", out});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.gif"), std::string::npos);
}

}  // namespace
}  // namespace anitrope::test
