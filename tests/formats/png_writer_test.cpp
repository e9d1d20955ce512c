#include "formats/png_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/png_image.h"

namespace anitrope {
namespace {

TEST(PngWriter, RoundTripsEveryChannelIncludingAlpha) {
    RgbaPicture picture{3, 2, {}};
    for (int i = 0; i < 6; ++i)
        picture.pixels.insert(picture.pixels.end(),
                              {uint8_t(i * 40), uint8_t(255 - i), uint8_t(i), uint8_t(i * 51)});
    char dir[] = "/tmp/anitrope-png-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/p.png";
    ASSERT_TRUE(WritePngFile(path, picture));
    auto read = test::ReadPngRgba(path);
    ASSERT_TRUE(read.image) << read.error;
    EXPECT_EQ(read.image->width, 3);
    EXPECT_EQ(read.image->height, 2);
    EXPECT_EQ(read.image->pixels, picture.pixels);
    std::filesystem::remove_all(dir);
}

TEST(PngWriter, RefusesEmptyOrInconsistentPictures) {
    EXPECT_FALSE(EncodePng({0, 5, {}}));
    EXPECT_FALSE(EncodePng({2, 2, std::vector<uint8_t>(15)}));  // one byte short
    EXPECT_FALSE(WritePngFile("/nonexistent-dir/x.png", {1, 1, {1, 2, 3, 4}}));
}

}  // namespace
}  // namespace anitrope
