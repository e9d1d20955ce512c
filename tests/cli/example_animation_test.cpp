// examples/bounce.gif is what `make run` shows and the README describes; tools/make-example.py
// writes it. These checks keep the file and that description together.

#include <gtest/gtest.h>

#include <string>

#include "cli/cli_runner.h"

namespace anitrope::test {
namespace {

const std::string kExample = std::string(ANITROPE_SOURCE_DIR) + "/examples/bounce.gif";

// Every frame fills the screen and stays in place for 8/100 s.
std::string FrameJson(bool transparent, int index) {
    const std::string flag = transparent ? "true" : "false";
    return R"({"left":0,"top":0,"width":64,"height":48,"delay":8,"disposal":1,)"
           R"("disposalName":"Do Not Dispose","transparent":)" +
           flag + R"(,"transparentIndex":)" + std::to_string(index) +
           R"(,"localPalette":{"present":false,"colors":0},"interlaced":false,"comments":[]})";
}

TEST(ExampleAnimation, BounceGifHoldsTwelveLoopingFramesOneOfThemTransparent) {
    const CliResult result = RunCliWith({"info", "--json", kExample});
    ASSERT_EQ(result.status, 0) << result.err;
    std::string frames;
    for (int i = 0; i < 12; ++i) {
        if (i) frames += ',';
        frames += i == 6 ? FrameJson(true, 63) : FrameJson(false, 0);
    }
    EXPECT_EQ(result.out, R"({"file":")" + kExample +
                              R"(","screenWidth":64,"screenHeight":48,"background":0,)"
                              R"("loopCount":0,"globalPalette":{"present":true,"colors":64},)"
                              R"("comments":["Made for Anitrope"],"frames":[)" +
                              frames + "]}\n");
}

}  // namespace
}  // namespace anitrope::test
