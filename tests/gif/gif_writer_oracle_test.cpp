// Files we write, read by giflib: the same pixels as the animation we wrote, and giflib and
// our reader agree on every field of them.

#include <gtest/gtest.h>

#include <filesystem>

#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/giflib_oracle.h"
#include "support/sample_gifs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

void ExpectGiflibReadsWhatWeWrote(const std::string& source, const std::string& written) {
    Animation original;
    ASSERT_EQ(LoadGifDocument(original, source), GifReadStatus::Ok);
    ASSERT_EQ(SaveAnimation(original, original.head, written), GifWriteStatus::Ok);

    OracleResult oracle = ReadWithGiflib(written);
    ASSERT_TRUE(oracle.gif) << "giflib refused our file: " << oracle.error;
    ASSERT_EQ(oracle.gif->frames.size(), original.FrameCount());
    std::size_t k = 0;
    for (Gif* g = original.head; g; g = g->next, ++k) {
        const OracleFrame& f = oracle.gif->frames[k];
        ASSERT_EQ(f.width, static_cast<int>(g->width));
        ASSERT_EQ(f.height, static_cast<int>(g->height));
        EXPECT_EQ(f.delay, g->delay);
        EXPECT_EQ(f.disposal, static_cast<int>(g->disposal & 7));
        EXPECT_FALSE(f.interlaced);
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                ASSERT_EQ(f.pixels[static_cast<std::size_t>(y * f.width + x)],
                          g->indexed->Get(x, y))
                    << "frame " << k << " pixel " << x << "," << y;
    }
    Animation reread;
    ASSERT_EQ(LoadGifDocument(reread, written), GifReadStatus::Ok);
    for (const std::string& difference : OracleDifferences(*oracle.gif, reread, true))
        ADD_FAILURE() << difference;
}

class GifWriterOracle : public ::testing::Test {
protected:
    std::string Written() const { return dir_ / "written.gif"; }
    TempDir dir_;
};

TEST_F(GifWriterOracle, SuiteFilesWrittenAgainDecodeIdenticallyInGiflib) {
    const fs::path suite = fs::path(ANITROPE_TESTDATA_DIR) / "gif-test-suite" / "gifs";
    for (const auto& entry : fs::directory_iterator(suite)) {
        if (entry.path().extension() != ".gif") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ExpectGiflibReadsWhatWeWrote(entry.path().string(), Written());
    }
}

TEST_F(GifWriterOracle, RandomFilesWrittenAgainDecodeIdenticallyInGiflib) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempFile source(RandomGif(seed));
        ExpectGiflibReadsWhatWeWrote(source.Path(), Written());
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace anitrope::test
