// convert with an AVI output: ".avi" in any case writes a video, and a failure says so.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(CliConvertAvi, WritesEveryFrameAtTheScreenSizeOrSaysItCouldNot) {
    const TempFile gif(TwoFrameGif());
    const TempDir dir;
    CliResult result = RunCliWith({"convert", gif.Path(), dir / "out.Avi"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::ifstream in(dir / "out.Avi", std::ios::binary);
    const std::string avi{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(avi.size(), 72u);
    EXPECT_EQ(avi.substr(0, 4) + avi.substr(8, 4), "RIFFAVI ");
    // avih after RIFF (12 bytes), LIST hdrl (12) and its own head (8): frames, then the screen.
    EXPECT_EQ(avi.substr(48, 4), std::string("\2\0\0\0", 4));
    EXPECT_EQ(avi.substr(64, 8), std::string("\10\0\0\0\6\0\0\0", 8));

    result = RunCliWith({"convert", gif.Path(), dir / "missing/out.avi"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Could not save AVI."), std::string::npos) << result.err;
}

}  // namespace
}  // namespace anitrope::test
