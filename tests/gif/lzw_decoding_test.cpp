// The reader's LZW decoding, driven by hand-built code streams: every corner of GIF89a
// appendix F that encoders in the wild exercise, and the corruptions the reader must refuse.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/gif_builder.h"
#include "support/gif_loading.h"

namespace anitrope::test {
namespace {

// With a minimum code size of 2: clear 4, end 5, first free code 6, first width 3.
constexpr uint32_t kClear2 = 4;
constexpr uint32_t kEnd2 = 5;
constexpr uint32_t kClear8 = 256;
constexpr uint32_t kEnd8 = 257;

// A file of one image of the given code stream, then a second 1x1 image of index 3: when the
// second image reads right, the first one's data was skipped to its terminator.
std::vector<uint8_t> TwoImageGif(uint16_t width, const CodeStream& codes) {
    GifBuilder gif;
    gif.Header().Screen({.width = width, .height = 1, .globalColors = DistinctColors(4)});
    gif.Descriptor({.width = width, .height = 1}).CodeStreamData(2, codes.Pack());
    const uint8_t second[] = {3};
    gif.Image({.width = 1, .height = 1}, second).Trailer();
    return gif.Bytes();
}

// The pixel of literal code number n in the width tests; varies so that a code read at the
// wrong width or position cannot come out right.
uint8_t LiteralPixel(int n) { return static_cast<uint8_t>((n * 7 + 3) % 256); }

// Literal codes number `from` to `to` (counted from the clear) at `width` bits.
void AddLiterals(CodeStream& codes, std::vector<uint8_t>& pixels, int from, int to, int width) {
    for (int n = from; n <= to; ++n) {
        codes.Code(LiteralPixel(n), width);
        pixels.push_back(LiteralPixel(n));
    }
}

// After a clear, code number n >= 2 adds entry 256 + n (8-bit data), so the next free code is
// 257 + n: it reaches 512 after code 255, 1024 after 767, 2048 after 1791 and 4096 after 3839.
void AddLiteralsUntilTableFull(CodeStream& codes, std::vector<uint8_t>& pixels) {
    AddLiterals(codes, pixels, 1, 255, 9);
    AddLiterals(codes, pixels, 256, 767, 10);
    AddLiterals(codes, pixels, 768, 1791, 11);
    AddLiterals(codes, pixels, 1792, 3839, 12);
}

GifLoad ReadCodes(uint16_t width, uint16_t height, int minCodeSize, const CodeStream& codes,
                  std::size_t subBlockSize = 255) {
    return ReadIntoNewAnimation(
        SingleImageGifFromCodes(width, height, minCodeSize, codes, subBlockSize));
}

TEST(LzwDecoding, LiteralCodesWidenAfterTheThirdCode) {
    // Codes 1-3 fill entries 6 and 7; next free reaches 8 and the fourth code is 4 bits wide.
    CodeStream codes;
    codes.Code(kClear2, 3).Code(0, 3).Code(1, 3).Code(2, 3).Code(3, 4).Code(kEnd2, 4);
    GifLoad load = ReadCodes(4, 1, 2, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const uint8_t expected[] = {0, 1, 2, 3};
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));
}

TEST(LzwDecoding, StreamWithoutLeadingClearCodeDecodes) {
    CodeStream codes;
    codes.Code(1, 3).Code(2, 3).Code(6, 3).Code(kEnd2, 4);  // 6 is the string 1 2
    GifLoad load = ReadCodes(4, 1, 2, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const uint8_t expected[] = {1, 2, 1, 2};
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));
}

TEST(LzwDecoding, ClearCodeResetsWidthAndTable) {
    CodeStream codes;
    codes.Code(kClear2, 3).Code(0, 3).Code(1, 3).Code(2, 3);  // entry 6 = 0 1, width now 4
    codes.Code(3, 4).Code(kClear2, 4);
    // Back at 3 bits; entry 6 is free again, so 6 right after the literal is the KwKwK case
    // (1 1), not the old string 0 1.
    codes.Code(1, 3).Code(6, 3).Code(kEnd2, 3);
    GifLoad load = ReadCodes(7, 1, 2, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const uint8_t expected[] = {0, 1, 2, 3, 1, 1, 1};
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));
}

TEST(LzwDecoding, CodeEqualToNextFreeRepeatsThePreviousString) {
    // KwKwK: 6 arrives while 6 is the next free code, so it is "2" + its own first pixel.
    CodeStream codes;
    codes.Code(kClear2, 3).Code(2, 3).Code(6, 3);  // 2, then 2 2; entry 6 = 2 2
    codes.Code(3, 3);                              // entry 7 = 2 2 3, next free 8: width 4
    codes.Code(7, 4).Code(kEnd2, 4);
    GifLoad load = ReadCodes(7, 1, 2, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const uint8_t expected[] = {2, 2, 2, 3, 2, 2, 3};
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));
}

TEST(LzwDecoding, WidthGrowsWhenNextFreeCodeReachesPowerOfTwo) {
    CodeStream codes;
    std::vector<uint8_t> pixels;
    codes.Code(kClear8, 9);
    AddLiterals(codes, pixels, 1, 255, 9);
    AddLiterals(codes, pixels, 256, 767, 10);
    AddLiterals(codes, pixels, 768, 1791, 11);
    AddLiterals(codes, pixels, 1792, 2000, 12);
    codes.Code(kEnd8, 12);
    GifLoad load = ReadCodes(2000, 1, 8, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
}

TEST(LzwDecoding, FullTableWithoutClearKeepsDecodingAtTwelveBits) {
    CodeStream codes;
    std::vector<uint8_t> pixels;
    codes.Code(kClear8, 9);
    AddLiteralsUntilTableFull(codes, pixels);
    // Deferred clear: the encoder goes on with the table as it stands.
    AddLiterals(codes, pixels, 3840, 4200, 12);
    codes.Code(4095, 12);  // the last entry: literal 3838 then 3839
    pixels.push_back(LiteralPixel(3838));
    pixels.push_back(LiteralPixel(3839));
    codes.Code(258, 12);  // the first entry: literals 1 and 2
    pixels.push_back(LiteralPixel(1));
    pixels.push_back(LiteralPixel(2));
    codes.Code(kEnd8, 12);
    GifLoad load = ReadCodes(static_cast<uint16_t>(pixels.size()), 1, 8, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
}

TEST(LzwDecoding, ClearAfterFullTableRestartsAtNineBits) {
    CodeStream codes;
    std::vector<uint8_t> pixels;
    codes.Code(kClear8, 9);
    AddLiteralsUntilTableFull(codes, pixels);
    codes.Code(kClear8, 12);
    codes.Code(10, 9).Code(20, 9).Code(258, 9).Code(kEnd8, 9);  // 258 is the new 10 20
    for (uint8_t p : std::vector<uint8_t>{10, 20, 10, 20}) pixels.push_back(p);
    GifLoad load = ReadCodes(static_cast<uint16_t>(pixels.size()), 1, 8, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
}

TEST(LzwDecoding, CodeBeyondNextFreeIsCorrupt) {
    CodeStream codes;
    codes.Code(kClear2, 3).Code(1, 3).Code(7, 3).Code(kEnd2, 3);  // next free is 6
    EXPECT_EQ(ReadCodes(3, 1, 2, codes).status, GifReadStatus::CorruptCodeStream);

    CodeStream wide;  // the same fault at 12 bits: 4000 is not assigned yet
    std::vector<uint8_t> pixels;
    wide.Code(kClear8, 9);
    AddLiterals(wide, pixels, 1, 255, 9);
    AddLiterals(wide, pixels, 256, 767, 10);
    AddLiterals(wide, pixels, 768, 1791, 11);
    AddLiterals(wide, pixels, 1792, 1800, 12);
    wide.Code(4000, 12).Code(kEnd8, 12);
    EXPECT_EQ(ReadCodes(4000, 1, 8, wide).status, GifReadStatus::CorruptCodeStream);
}

TEST(LzwDecoding, FirstCodeAfterClearEqualToNextFreeIsCorrupt) {
    // There is no previous string to repeat, so the KwKwK rule cannot apply.
    CodeStream atStart;
    atStart.Code(kClear2, 3).Code(6, 3).Code(kEnd2, 3);
    EXPECT_EQ(ReadCodes(2, 1, 2, atStart).status, GifReadStatus::CorruptCodeStream);

    CodeStream withoutClear;
    withoutClear.Code(6, 3).Code(kEnd2, 3);
    EXPECT_EQ(ReadCodes(2, 1, 2, withoutClear).status, GifReadStatus::CorruptCodeStream);

    CodeStream afterLaterClear;
    afterLaterClear.Code(kClear2, 3).Code(0, 3).Code(1, 3).Code(kClear2, 3).Code(6, 3);
    afterLaterClear.Code(kEnd2, 3);
    EXPECT_EQ(ReadCodes(4, 1, 2, afterLaterClear).status, GifReadStatus::CorruptCodeStream);
}

TEST(LzwDecoding, EndCodeEndsTheImageData) {
    // Codes after the end code but before the terminator are left alone; the missing pixels
    // stay 0 and the next image is found after the terminator.
    CodeStream codes;
    codes.Code(kClear2, 3).Code(1, 3).Code(2, 3).Code(kEnd2, 3).Code(3, 3).Code(3, 3).Code(7, 3);
    GifLoad load = ReadIntoNewAnimation(TwoImageGif(4, codes));
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    ASSERT_EQ(load.FrameCount(), 2u);
    const uint8_t first[] = {1, 2, 0, 0};
    EXPECT_TRUE(HasPixels(load.Frame(0), first));
    const uint8_t second[] = {3};
    EXPECT_TRUE(HasPixels(load.Frame(1), second));
}

TEST(LzwDecoding, PixelsBeyondTheImageAreDropped) {
    CodeStream codes;
    codes.Code(kClear2, 3).Code(1, 3).Code(2, 3).Code(3, 3).Code(6, 4).Code(0, 4);
    codes.Code(kEnd2, 4);
    GifLoad load = ReadIntoNewAnimation(TwoImageGif(2, codes));
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    ASSERT_EQ(load.FrameCount(), 2u);
    const uint8_t first[] = {1, 2};
    EXPECT_TRUE(HasPixels(load.Frame(0), first));
    const uint8_t second[] = {3};
    EXPECT_TRUE(HasPixels(load.Frame(1), second));
}

TEST(LzwDecoding, DataEndingEarlyLeavesMissingPixelsZero) {
    CodeStream withEnd;
    withEnd.Code(kClear2, 3).Code(3, 3).Code(2, 3).Code(kEnd2, 3);
    const uint8_t expected[] = {3, 2, 0, 0, 0, 0};
    GifLoad load = ReadCodes(3, 2, 2, withEnd);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));

    CodeStream withoutEnd;  // the sub-blocks simply run out
    withoutEnd.Code(kClear2, 3).Code(3, 3).Code(2, 3);
    GifLoad cut = ReadCodes(3, 2, 2, withoutEnd);
    ASSERT_EQ(cut.status, GifReadStatus::Ok);
    EXPECT_TRUE(HasPixels(cut.Frame(0), expected));
}

TEST(LzwDecoding, EndCodeRightAfterClearGivesAnAllZeroImage) {
    CodeStream codes;
    codes.Code(kClear2, 3).Code(kEnd2, 3);
    GifLoad load = ReadCodes(2, 2, 2, codes);
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    const uint8_t expected[] = {0, 0, 0, 0};
    EXPECT_TRUE(HasPixels(load.Frame(0), expected));
}

TEST(LzwDecoding, CodesSplitAcrossSubBlocksOfAnySize) {
    // 255 pixels of noise: many codes straddle sub-block boundaries for every size.
    std::mt19937 random(7);
    std::vector<uint8_t> pixels(255);
    for (uint8_t& p : pixels) p = static_cast<uint8_t>(random() % 16);
    const CodeStream codes = LzwEncode(pixels, 4);
    for (std::size_t blockSize : {1u, 2u, 3u, 7u, 254u, 255u}) {
        SCOPED_TRACE(testing::Message() << "sub-blocks of " << blockSize);
        GifLoad load = ReadCodes(15, 17, 4, codes, blockSize);
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
    }
}

TEST(LzwDecoding, EncodedNoiseRoundTripsWhateverTheEncoderHabits) {
    // 8-bit noise fills the string table many times over.
    std::mt19937 random(11);
    std::vector<uint8_t> pixels(256 * 200);
    for (uint8_t& p : pixels) p = static_cast<uint8_t>(random());
    struct Case {
        const char* what;
        LzwOptions options;
    };
    const Case cases[] = {
        {"clear code when the table is full", {}},
        {"deferred clear", {.clearWhenFull = false}},
        {"no leading clear code", {.leadingClear = false}},
        {"no end code, the data just stops", {.endCode = false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifLoad load = ReadCodes(256, 200, 8, LzwEncode(pixels, 8, c.options));
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
    }
}

TEST(LzwDecoding, MinimumCodeSizeAboveEightFallsBackToTableBits) {
    // Data coded at 2 bits, declared with an impossible minimum code size: the 4-entry local
    // table's bits decide.
    const uint8_t pixels[] = {0, 1, 2, 3, 3, 2, 1, 0};
    const std::vector<uint8_t> packed = LzwEncode(pixels, 2).Pack();
    for (uint8_t declared : std::vector<uint8_t>{9, 12, 255}) {
        SCOPED_TRACE(testing::Message() << "declared minimum code size " << int{declared});
        GifBuilder gif;
        gif.Header().Screen({.width = 8, .height = 1});
        gif.Descriptor({.width = 8, .height = 1, .localColors = DistinctColors(4)});
        gif.CodeStreamData(declared, packed).Trailer();
        GifLoad load = ReadIntoNewAnimation(gif.Bytes());
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_TRUE(HasPixels(load.Frame(0), pixels));
    }
}

}  // namespace
}  // namespace anitrope::test
