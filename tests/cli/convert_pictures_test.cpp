// convert and quantize with pictures of every format: frames appended in order, delays,
// sizes fitted to the first input, JPEG output, and inputs that are refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_runner.h"
#include "cli/sample_gifs.h"
#include "formats/jpeg_reader.h"
#include "formats/jpeg_writer.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "support/icon_builder.h"
#include "support/picture_files.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

// Even channel values: the reduction keeps seven bits a channel, so these come back exactly.
uint32_t Stripes(int32_t x, int32_t) { return x % 2 ? 0xFEFE00u : 0x0000FEu; }

class CliPictures : public ::testing::Test {
protected:
    std::string Bmp(const char* name, int32_t w, int32_t h) {
        WriteBytes(dir / name, Bmp24File(w, h, Stripes));
        return dir / name;
    }
    std::string Jpeg(const char* name, uint32_t rgb) {
        TrueColorBitmap pixels(8, 6);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x) pixels.Set(x, y, rgb);
        EXPECT_TRUE(WriteJpegFile(dir / name, pixels, true, 90).ok);
        return dir / name;
    }
    static uint32_t Colour(const Gif& gif, int32_t x, int32_t y) {
        const PaletteEntry& e = gif.palette[gif.indexed->Get(x, y)];
        return static_cast<uint32_t>(e.red) << 16 | static_cast<uint32_t>(e.green) << 8 |
               static_cast<uint32_t>(e.blue);
    }
    TempDir dir;
};

TEST_F(CliPictures, ConvertAppendsEveryInputInOrder) {
    TempFile gif(TwoFrameGif());
    const std::string tga = dir / "t.tga";
    WriteBytes(tga, Tga24File(8, 6, Stripes));
    const CliResult result = RunCliWith({"convert", "--delay", "40", Bmp("a.bmp", 8, 6), gif.Path(),
                                         tga, Jpeg("j.jpg", 0x20A040), dir / "out.gif"});
    ASSERT_EQ(result.status, 0) << result.err;
    Animation doc;
    ASSERT_EQ(LoadGifDocument(doc, dir / "out.gif"), GifReadStatus::Ok);
    ASSERT_EQ(doc.FrameCount(), 5u);
    EXPECT_EQ(doc.screenWidth, 8);
    EXPECT_EQ(doc.screenHeight, 6);
    const std::vector<int32_t> delays{doc.FrameAt(0)->delay, doc.FrameAt(1)->delay,
                                      doc.FrameAt(2)->delay, doc.FrameAt(3)->delay,
                                      doc.FrameAt(4)->delay};
    EXPECT_EQ(delays, (std::vector<int32_t>{40, 25, 7, 40, 40})) << "GIF frames keep their own";
    for (int k : {0, 3}) {
        EXPECT_EQ(Colour(*doc.FrameAt(k), 0, 0), 0x0000FEu) << k;
        EXPECT_EQ(Colour(*doc.FrameAt(k), 1, 5), 0xFEFE00u) << k;
    }
    const uint32_t jpeg = Colour(*doc.FrameAt(4), 3, 3);
    EXPECT_NEAR(static_cast<int>(jpeg >> 8 & 0xFF), 0xA0, 4);
    EXPECT_EQ(doc.FrameAt(2)->left, 2) << "the GIF's second frame keeps its place";
}

TEST_F(CliPictures, LaterInputsOfAnotherSizeAreScaledToTheFirst) {
    const CliResult result =
        RunCliWith({"convert", Bmp("big.bmp", 8, 6), Bmp("small.bmp", 4, 3), dir / "out.gif"});
    ASSERT_EQ(result.status, 0) << result.err;
    Animation doc;
    ASSERT_EQ(LoadGifDocument(doc, dir / "out.gif"), GifReadStatus::Ok);
    ASSERT_EQ(doc.FrameCount(), 2u);
    EXPECT_EQ(doc.FrameAt(1)->width, 8u);
    EXPECT_EQ(doc.FrameAt(1)->height, 6u);
    EXPECT_EQ(doc.FrameAt(0)->delay, 10) << "pictures show 1/10 s unless told";
}

TEST_F(CliPictures, AJpegOutputGetsTheFirstFrameAtTheQualityAsked) {
    TempFile gif(TwoFrameGif());
    ASSERT_EQ(RunCliWith({"convert", gif.Path(), dir / "a.jpg"}).status, 0);
    const CliResult low = RunCliWith({"convert", "--quality", "5", gif.Path(), dir / "b.jpeg"});
    ASSERT_EQ(low.status, 0) << low.err;
    const JpegReadResult read = ReadJpegFile(dir / "a.jpg");
    ASSERT_TRUE(read.picture) << read.message;
    EXPECT_EQ(read.picture->width, 8);
    EXPECT_EQ(read.picture->height, 6);
    EXPECT_LT(fs::file_size(dir / "b.jpeg"), fs::file_size(dir / "a.jpg"));
}

TEST_F(CliPictures, RefusedInputsNameTheFileAndWriteNothing) {
    std::vector<uint8_t> cut = Bmp24File(8, 6, Stripes);
    cut.resize(30);
    WriteBytes(dir / "cut.bmp", cut);
    const CliResult result = RunCliWith({"convert", Bmp("ok.bmp", 8, 6), dir / "cut.bmp", dir / "o.gif"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cut.bmp: "), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(dir / "o.gif"));
    EXPECT_EQ(RunCliWith({"convert", "--delay", "x", Bmp("p.bmp", 2, 2), dir / "o.gif"}).status, 2);
    EXPECT_EQ(RunCliWith({"convert", dir / "o.gif"}).status, 2);
}

TEST_F(CliPictures, AnAnimatedCursorGivesAFramePerStepInSequenceOrder) {
    AnimatedCursor cursor;
    for (uint32_t rgb : {0xFE0000u, 0x00FE00u}) cursor.icons.push_back(IconFileBytes(SolidBitmap(4, 4, rgb)));
    cursor.sequence = std::vector<uint32_t>{1, 0, 1};
    WriteBytes(dir / "c.ani", AnimatedCursorBytes(cursor));
    WriteBytes(dir / "i.ico", IconFileBytes(SolidBitmap(4, 4, 0x0000FE)));
    const CliResult result = RunCliWith({"convert", dir / "c.ani", dir / "i.ico", dir / "out.gif"});
    ASSERT_EQ(result.status, 0) << result.err;
    Animation doc;
    ASSERT_EQ(LoadGifDocument(doc, dir / "out.gif"), GifReadStatus::Ok);
    ASSERT_EQ(doc.FrameCount(), 4u);
    std::vector<uint32_t> colours;
    for (Gif* g = doc.head; g; g = g->next) colours.push_back(Colour(*g, 1, 1));
    EXPECT_EQ(colours, (std::vector<uint32_t>{0x00FE00u, 0xFE0000u, 0x00FE00u, 0x0000FEu}));
}

TEST_F(CliPictures, QuantizeReadsJpeg) {
    const CliResult result = RunCliWith({"quantize", Jpeg("q.jpg", 0x808080), dir / "q.gif"});
    ASSERT_EQ(result.status, 0) << result.err;
    Animation doc;
    ASSERT_EQ(LoadGifDocument(doc, dir / "q.gif"), GifReadStatus::Ok);
    EXPECT_NEAR(static_cast<int>(Colour(*doc.head, 4, 4) & 0xFF), 0x80, 3);
}

}  // namespace
}  // namespace anitrope::test
