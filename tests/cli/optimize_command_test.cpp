#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "support/giflib_oracle.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(ANITROPE_SOURCE_DIR) + "/examples/bounce.gif";

class CliOptimize : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir_ / name; }
    TempDir dir_;
};

std::unique_ptr<Animation> Load(const std::string& path) {
    auto doc = std::make_unique<Animation>();
    EXPECT_EQ(LoadGifDocument(*doc, path), GifReadStatus::Ok) << path;
    return doc;
}

// The largest channel difference between the frames of two animations as they are shown.
int ShownDifference(Animation& a, Animation& b) {
    if (a.FrameCount() != b.FrameCount() || a.screenWidth != b.screenWidth ||
        a.screenHeight != b.screenHeight)
        return 256;
    Compositor ca(a, nullptr), cb(b, nullptr);
    int largest = 0;
    for (Gif *g = a.head, *h = b.head; g; g = g->next, h = h->next) {
        const auto pa = ca.GetDisplayBitmap(*g), pb = cb.GetDisplayBitmap(*h);
        for (int32_t y = 0; y < a.screenHeight; ++y)
            for (int32_t x = 0; x < a.screenWidth; ++x)
                for (int shift : {0, 8, 16}) {
                    const int d = static_cast<int>(pa->Get(x, y) >> shift & 0xFF) -
                                  static_cast<int>(pb->Get(x, y) >> shift & 0xFF);
                    largest = std::max(largest, d < 0 ? -d : d);
                }
    }
    return largest;
}

TEST_F(CliOptimize, WritesASmallerFileThatGiflibReadsAsWeDo) {
    const CliResult result = RunCliWith({"optimize", kExample, Path("o.gif")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_LT(fs::file_size(Path("o.gif")), fs::file_size(kExample));
    auto optimized = Load(Path("o.gif"));
    auto original = Load(kExample);
    EXPECT_EQ(optimized->FrameCount(), original->FrameCount());
    EXPECT_EQ(optimized->head->width, original->head->width) << "the first frame stays whole";
    for (Gif* g = optimized->head->next; g; g = g->next)
        EXPECT_LT(g->width * g->height, optimized->head->width * optimized->head->height);
    OracleResult oracle = ReadWithGiflib(Path("o.gif"));
    ASSERT_TRUE(oracle.gif) << oracle.error;
    EXPECT_EQ(OracleDifferences(*oracle.gif, *optimized, true), std::vector<std::string>{});
}

TEST_F(CliOptimize, CoarserLevelsMakeSmallerFiles) {
    ASSERT_EQ(RunCliWith({"optimize", "--level", "1", kExample, Path("fine.gif")}).status, 0);
    ASSERT_EQ(RunCliWith({"optimize", "--level", "5", kExample, Path("coarse.gif")}).status, 0);
    EXPECT_LT(fs::file_size(Path("coarse.gif")), fs::file_size(Path("fine.gif")));
}

TEST_F(CliOptimize, LosslessIsLevelZeroAndKeepsEveryPicture) {
    ASSERT_EQ(RunCliWith({"optimize", "--lossless", kExample, Path("l.gif")}).status, 0);
    ASSERT_EQ(RunCliWith({"optimize", "--level", "0", kExample, Path("0.gif")}).status, 0);
    EXPECT_EQ(fs::file_size(Path("l.gif")), fs::file_size(Path("0.gif")));
    EXPECT_LE(fs::file_size(Path("l.gif")), fs::file_size(kExample));
    auto input = Load(kExample);
    auto output = Load(Path("l.gif"));
    EXPECT_EQ(ShownDifference(*input, *output), 0);
}

TEST_F(CliOptimize, RefusesBadLevelsAndMissingFiles) {
    for (const char* level : {"-1", "6", "x", "3x", ""}) {
        const CliResult result = RunCliWith({"optimize", "--level", level, kExample, Path("o.gif")});
        EXPECT_EQ(result.status, 2) << level;
        EXPECT_NE(result.err.find("--level takes a number from 0 (lossless) to 5"), std::string::npos) << level;
    }
    EXPECT_EQ(RunCliWith({"optimize", "--lossless", "--level", "2", kExample, Path("o.gif")}).status, 2);
    EXPECT_EQ(RunCliWith({"optimize", "--fast", "3", kExample, Path("o.gif")}).status, 2);
    EXPECT_EQ(RunCliWith({"optimize", kExample}).status, 2);
    const CliResult missing = RunCliWith({"optimize", Path("none.gif"), Path("o.gif")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.gif"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("o.gif")));
}

TEST_F(CliOptimize, UnoptimizeUndoesTheCutsAndShowsTheSame) {
    ASSERT_EQ(RunCliWith({"optimize", kExample, Path("o.gif")}).status, 0);
    const CliResult result = RunCliWith({"unoptimize", Path("o.gif"), Path("u.gif")});
    ASSERT_EQ(result.status, 0) << result.err;
    auto optimized = Load(Path("o.gif"));
    auto expanded = Load(Path("u.gif"));
    for (Gif* g = expanded->head; g; g = g->next) {
        EXPECT_EQ(g->width, static_cast<uint32_t>(expanded->screenWidth));
        EXPECT_EQ(g->height, static_cast<uint32_t>(expanded->screenHeight));
        // A reduced frame keeps a transparent slot, but no pixel uses it.
        for (int32_t y = 0; y < expanded->screenHeight; ++y)
            for (int32_t x = 0; x < expanded->screenWidth; ++x)
                ASSERT_FALSE(g->transparent && g->indexed->Get(x, y) == g->transparentIndex);
    }
    // Reduced again, the colours may lose their lowest bit.
    EXPECT_LE(ShownDifference(*optimized, *expanded), 1);
}

}  // namespace
}  // namespace anitrope::test
