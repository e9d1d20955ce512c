// The numbered names of exported frames.

#include "gif/export_names.h"

#include <gtest/gtest.h>

namespace anitrope {
namespace {

TEST(ExportNames, DigitsGrowOneFrameBeforeTheNumbersNeedThem) {
    const std::vector<std::pair<std::size_t, int>> cases{{1, 1},    {8, 1},     {9, 2},   {98, 2},
                                                         {99, 3},   {998, 3},   {999, 4}, {9998, 4},
                                                         {9999, 5}, {200000, 5}};
    for (const auto& [frames, digits] : cases) EXPECT_EQ(ExportDigits(frames), digits) << frames;
}

TEST(ExportNames, NumberGoesBeforeTheFileNamesFirstDotOrAtTheIndicators) {
    struct Case {
        std::string name;
        std::optional<char> indicator;
        int digits;
        std::size_t k;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"pic.gif", {}, 2, 3, "pic03.gif"},
        {"pic.tar.gif", {}, 1, 4, "pic4.tar.gif"},
        {"pic", {}, 3, 12, "pic012"},
        {"my.dir/pic.GIF", {}, 2, 7, "my.dir/pic07.GIF"},
        {"c:\\my.dir\\pic", {}, 1, 0, "c:\\my.dir\\pic0"},
        {"a**b.gif", '*', 2, 7, "a07b.gif"},
        {"#x#.gif", '#', 2, 45, "4x5.gif"},
        {"a*.gif", '*', 1, 12, "a2.gif"},  // more frames than the digits hold: the last digits
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExportName(c.name, c.indicator, c.digits, c.k), c.expected)
            << c.name << " " << c.k;
}

TEST(ExportNames, GifExtensionIsTheWholeTextFromTheFirstDot) {
    EXPECT_TRUE(HasGifExtension("dir.v2/x.gif"));
    EXPECT_TRUE(HasGifExtension("x.GiF"));
    EXPECT_FALSE(HasGifExtension("x"));
    EXPECT_FALSE(HasGifExtension("x.gifs"));
    EXPECT_FALSE(HasGifExtension("x.old.gif"));
    EXPECT_FALSE(HasGifExtension("dir.gif/x"));
}

}  // namespace
}  // namespace anitrope
