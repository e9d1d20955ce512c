#include "formats/png_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "formats/png_writer.h"

namespace anitrope {
namespace {

RgbaPicture Gradient(int w, int h) {
    RgbaPicture p{w, h, {}};
    for (int i = 0; i < w * h; ++i)
        p.pixels.insert(p.pixels.end(), {uint8_t(i), uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7)});
    return p;
}

void Big32(std::vector<uint8_t>& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// A PNG signature, a correct IHDR chunk claiming the given size and an empty IDAT chunk:
// enough for the header to be read, no pixel data.
std::vector<uint8_t> HeaderOnlyPng(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> chunk = {'I', 'H', 'D', 'R'};
    Big32(chunk, width);
    Big32(chunk, height);
    chunk.insert(chunk.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
    Big32(png, 13);
    png.insert(png.end(), chunk.begin(), chunk.end());
    Big32(png, static_cast<uint32_t>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size()))));
    const uint8_t idat[] = {'I', 'D', 'A', 'T'};
    Big32(png, 0);
    png.insert(png.end(), idat, idat + 4);
    Big32(png, static_cast<uint32_t>(crc32(0, idat, 4)));
    return png;
}

TEST(PngReader, DecodesWhatTheWriterWrote) {
    const RgbaPicture original = Gradient(7, 5);
    auto png = EncodePng(original);
    ASSERT_TRUE(png);
    PictureReadResult read = DecodePng(*png);
    ASSERT_TRUE(read.picture) << read.error;
    EXPECT_EQ(read.picture->width, 7);
    EXPECT_EQ(read.picture->height, 5);
    EXPECT_EQ(read.picture->pixels, original.pixels);
}

TEST(PngReader, EveryCutOfAFileIsRefusedCleanly) {
    auto png = EncodePng(Gradient(9, 9));
    ASSERT_TRUE(png);
    for (std::size_t cut = 0; cut < png->size(); ++cut) {
        PictureReadResult read = DecodePng(std::span(png->data(), cut));
        if (read.picture) {
            // Only a cut inside the trailing chunks may still give the whole picture.
            EXPECT_EQ(read.picture->pixels.size(), 9u * 9u * 4u);
        } else {
            EXPECT_FALSE(read.error.empty()) << "cut at " << cut;
        }
    }
}

TEST(PngReader, HugePicturesAreRefusedBeforeDecoding) {
    PictureReadResult wide = DecodePng(HeaderOnlyPng(20000, 1));
    EXPECT_FALSE(wide.picture);
    EXPECT_EQ(wide.error, "picture too large");
    PictureReadResult many = DecodePng(HeaderOnlyPng(16384, 16384));  // 256 Mpixels
    EXPECT_EQ(many.error, "picture too large");
    PictureReadResult fine = DecodePng(HeaderOnlyPng(16, 16));  // allowed, but no data
    EXPECT_FALSE(fine.picture);
    EXPECT_NE(fine.error, "picture too large");
}

TEST(PngReader, OtherBytesAndMissingFilesAreRefused) {
    const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_FALSE(DecodePng(gif).picture);
    EXPECT_EQ(ReadPngFile("/nonexistent/x.png").error, "cannot open the file");
}

}  // namespace
}  // namespace anitrope
