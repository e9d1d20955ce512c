#include "cli/info_json.h"

#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "cli/json_string.h"
#include "cli/sample_gifs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(InfoJson, EveryFieldOfATwoFrameFile) {
    TempFile file(TwoFrameGif());
    const CliResult result = RunCliWith({"info", "--json", file.Path()});
    const std::string expected =
        "{\"file\":" + JsonString(file.Path()) +
        R"(,"screenWidth":8,"screenHeight":6,"background":2,"loopCount":3,)"
        R"("globalPalette":{"present":true,"colors":4},)"
        R"("comments":["say \"hi\"\u000a\u00ff"],"frames":[)"
        R"({"left":0,"top":0,"width":8,"height":6,"delay":25,"disposal":2,)"
        R"("disposalName":"Restore Backgr Color","transparent":true,"transparentIndex":3,)"
        R"("localPalette":{"present":false,"colors":0},"interlaced":false,)"
        R"("comments":["first frame"]},)"
        R"({"left":2,"top":1,"width":4,"height":3,"delay":7,"disposal":5,)"
        R"("disposalName":"Reserved","transparent":false,"transparentIndex":0,)"
        R"("localPalette":{"present":true,"colors":16},"interlaced":true,"comments":[]}]})"
        "\n";
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
}

std::string JsonOf(const std::vector<uint8_t>& bytes) {
    TempFile file(bytes);
    return RunCliWith({"info", "--json", file.Path()}).out;
}

TEST(InfoJson, LoopCountIsNullOnlyWithoutALoopingExtension) {
    EXPECT_NE(JsonOf(LoopingGif(std::nullopt)).find(R"(,"loopCount":null,)"), std::string::npos);
    EXPECT_NE(JsonOf(LoopingGif(0)).find(R"(,"loopCount":0,)"), std::string::npos);
    EXPECT_NE(JsonOf(LoopingGif(65535)).find(R"(,"loopCount":65535,)"), std::string::npos);
}

TEST(InfoJson, FileWithoutGlobalPaletteSaysSo) {
    GifBuilder gif;
    gif.Header().Screen({.width = 1, .height = 1});
    gif.Image({.width = 1, .height = 1, .localColors = DistinctColors(2)}, std::vector<uint8_t>{1});
    const std::string json = JsonOf(gif.Trailer().Bytes());
    EXPECT_NE(json.find(R"("globalPalette":{"present":false,"colors":0})"), std::string::npos);
    EXPECT_NE(json.find(R"("localPalette":{"present":true,"colors":2})"), std::string::npos);
}

TEST(InfoJson, SeveralFilesGiveOneLineEachInTheirOrder) {
    TempFile a(LoopingGif(1)), b(TwoFrameGif()), c(LoopingGif(std::nullopt));
    const CliResult result = RunCliWith({"info", "--json", a.Path(), b.Path(), c.Path()});
    ASSERT_EQ(result.status, 0);
    std::istringstream lines(result.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);) got.push_back(line);
    ASSERT_EQ(got.size(), 3u) << result.out;
    const TempFile* files[] = {&a, &b, &c};
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].rfind("{\"file\":" + JsonString(files[i]->Path()) + ",", 0), 0u) << got[i];
        EXPECT_EQ(got[i].back(), '}');
    }
}

}  // namespace
}  // namespace anitrope::test
