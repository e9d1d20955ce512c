#include "formats/ppm_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace anitrope {
namespace {

PictureReadResult Decode(const std::string& text) {
    return DecodePpm({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

TEST(PpmReader, ReadsEightBitSamplesWithCommentsInTheHeader) {
    PictureReadResult read = Decode(std::string("P6 # made by hand\n2 1\n255\n") +
                                    std::string("\x01\x02\x03\xff\x80\x00", 6));
    ASSERT_TRUE(read.picture) << read.error;
    EXPECT_EQ(read.picture->width, 2);
    EXPECT_EQ(read.picture->pixels,
              (std::vector<uint8_t>{1, 2, 3, 255, 255, 128, 0, 255}));
}

TEST(PpmReader, ScalesOtherMaximumsAndSixteenBitSamples) {
    PictureReadResult small = Decode(std::string("P6\n1 1\n3\n") + std::string("\x00\x01\x03", 3));
    ASSERT_TRUE(small.picture) << small.error;
    EXPECT_EQ(small.picture->pixels, (std::vector<uint8_t>{0, 85, 255, 255}));
    PictureReadResult wide =
        Decode(std::string("P6\n1 1\n65535\n") + std::string("\xff\xff\x80\x00\x00\x00", 6));
    ASSERT_TRUE(wide.picture) << wide.error;
    EXPECT_EQ(wide.picture->pixels, (std::vector<uint8_t>{255, 128, 0, 255}));
}

TEST(PpmReader, RefusesDamagedShortAndHugeFiles) {
    EXPECT_EQ(Decode("P5\n1 1\n255\n\x01").error, "not a binary PPM file");
    EXPECT_EQ(Decode("P6\n1 1\n0\n\x01\x01\x01").error, "damaged PPM header");
    EXPECT_EQ(Decode("P6\n1\n").error, "damaged PPM header");
    EXPECT_EQ(Decode("P6\n2 2\n255\n\x01\x02").error, "PPM data cut short");
    EXPECT_EQ(Decode("P6\n20000 1\n255\n").error, "picture too large");
    EXPECT_EQ(Decode("P6\n99999999999 1\n255\n").error, "damaged PPM header");
    EXPECT_EQ(Decode("P6\n0 5\n255\n").error, "picture too large");
}

TEST(PpmReader, EveryCutOfAValidFileIsRefusedCleanly) {
    const std::string file = std::string("P6\n3 2\n255\n") + std::string(18, '\x7f');
    for (std::size_t cut = 0; cut < file.size(); ++cut)
        EXPECT_FALSE(Decode(file.substr(0, cut)).picture) << "cut at " << cut;
    EXPECT_TRUE(Decode(file).picture);
}

}  // namespace
}  // namespace anitrope
