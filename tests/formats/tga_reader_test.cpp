// The TGA reader against hand-made files: every image type and depth, the four origins,
// run-length packets that cross rows or overrun the picture, files cut short, and headers
// that must be refused.

#include "formats/tga_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/temp_file.h"

namespace anitrope {
namespace {

constexpr uint8_t kBottomLeft = 0x00, kBottomRight = 0x10, kTopLeft = 0x20, kTopRight = 0x30;

// The parts of a TGA file; MakeTga writes them in order behind an 18-byte header.
struct TgaParts {
    uint8_t type = 2;
    uint16_t width = 1;
    uint16_t height = 1;
    uint8_t bits = 24;
    uint8_t descriptor = kTopLeft;
    std::vector<uint8_t> id = {};
    uint8_t mapType = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapEntryBits = 0;
    std::vector<uint8_t> map = {};  // entry bytes as stored, whatever mapLength claims
    std::vector<uint8_t> pixels = {};
};

void Put16(std::vector<uint8_t>& b, std::size_t at, unsigned v) {
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}

std::vector<uint8_t> MakeTga(const TgaParts& t) {
    std::vector<uint8_t> b(18, 0);
    b[0] = uint8_t(t.id.size());
    b[1] = t.mapType;
    b[2] = t.type;
    Put16(b, 3, t.mapFirst);
    Put16(b, 5, t.mapLength);
    b[7] = t.mapEntryBits;
    Put16(b, 8, 7);  // an origin, which readers ignore
    Put16(b, 10, 9);
    Put16(b, 12, t.width);
    Put16(b, 14, t.height);
    b[16] = t.bits;
    b[17] = t.descriptor;
    for (const auto* part : {&t.id, &t.map, &t.pixels})
        b.insert(b.end(), part->begin(), part->end());
    return b;
}

// Every pixel as rrggbbaa in hex, rows top first, separated by " | ".
std::string Dump(const RgbaPicture& p) {
    std::string out;
    char hex[9];
    for (std::size_t i = 0; i < p.pixels.size(); i += 4) {
        if (i > 0) out += i % (std::size_t(p.width) * 4) == 0 ? " | " : " ";
        std::snprintf(hex, sizeof hex, "%02x%02x%02x%02x", p.pixels[i], p.pixels[i + 1],
                      p.pixels[i + 2], p.pixels[i + 3]);
        out += hex;
    }
    return out;
}

// Only the red of every pixel, in decimal, rows top first: enough for grey pictures.
std::string Reds(const RgbaPicture& p) {
    std::string out;
    for (std::size_t i = 0; i < p.pixels.size(); i += 4) {
        if (i > 0) out += i % (std::size_t(p.width) * 4) == 0 ? " | " : " ";
        out += std::to_string(p.pixels[i]);
    }
    return out;
}

// The decoded picture's Dump (or Reds), or the error text when it was refused.
std::string Decoded(const TgaParts& parts, bool redsOnly = false) {
    const auto result = DecodeTga(MakeTga(parts));
    if (!result.picture) return "refused: " + result.error;
    return redsOnly ? Reds(*result.picture) : Dump(*result.picture);
}
std::string DecodedReds(const TgaParts& parts) { return Decoded(parts, true); }

std::string RefusalOfFile(const std::vector<uint8_t>& file) {
    const auto result = DecodeTga(file);
    return result.picture ? "decoded" : result.error;
}
std::string Refusal(const TgaParts& parts) { return RefusalOfFile(MakeTga(parts)); }

TEST(TgaHeader, ShortFilesAreRefusedButAHeaderAloneLoadsBlack) {
    const auto whole = MakeTga({.pixels = {1, 2, 3}});
    for (std::size_t n = 0; n < 18; ++n)
        EXPECT_EQ(RefusalOfFile({whole.begin(), whole.begin() + long(n)}), "damaged TGA header")
            << n;
    const auto headerOnly = DecodeTga({whole.data(), 18});
    ASSERT_TRUE(headerOnly.picture) << headerOnly.error;
    EXPECT_EQ(Dump(*headerOnly.picture), "000000ff");
}

TEST(TgaHeader, SizesAreBounded) {
    EXPECT_EQ(Refusal({.width = 0}), "TGA picture has no pixels");
    EXPECT_EQ(Refusal({.height = 0}), "TGA picture has no pixels");
    const std::string tooLarge = "TGA pictures wider or higher than 2048 pixels are not supported";
    EXPECT_EQ(Refusal({.width = 2049}), tooLarge);
    EXPECT_EQ(Refusal({.height = 2049}), tooLarge);
    EXPECT_EQ(Refusal({.width = 65535, .height = 65535}), tooLarge);

    const auto largest = DecodeTga(MakeTga({.width = 2048, .height = 2048, .pixels = {1, 2, 3}}));
    ASSERT_TRUE(largest.picture) << largest.error;
    const auto& p = *largest.picture;
    ASSERT_EQ(p.width, 2048);
    ASSERT_EQ(p.height, 2048);
    ASSERT_EQ(p.pixels.size(), std::size_t{2048} * 2048 * 4);
    EXPECT_EQ(Dump({2, 1, {p.pixels.begin(), p.pixels.begin() + 8}}), "030201ff 000000ff");
    EXPECT_EQ(Dump({1, 1, {p.pixels.end() - 4, p.pixels.end()}}), "000000ff");
}

TEST(TgaHeader, UnknownTypesDepthsAndMapsAreRefused) {
    EXPECT_EQ(Refusal({.type = 0}), "TGA file holds no picture");
    EXPECT_EQ(Refusal({.type = 32}), "unsupported TGA image type 32");
    for (const int type : {4, 8, 12, 33, 255})
        EXPECT_EQ(Refusal({.type = uint8_t(type)}),
                  "unsupported TGA image type " + std::to_string(type));

    EXPECT_EQ(Refusal({.bits = 8}), "unsupported TGA bit depth 8");
    EXPECT_EQ(Refusal({.type = 3, .bits = 24}), "unsupported TGA bit depth 24");
    EXPECT_EQ(Refusal({.type = 10, .bits = 0}), "unsupported TGA bit depth 0");
    EXPECT_EQ(Refusal({.type = 1,
                       .bits = 24,
                       .mapType = 1,
                       .mapLength = 1,
                       .mapEntryBits = 24,
                       .map = {0, 0, 0}}),
              "unsupported TGA bit depth 24");

    EXPECT_EQ(Refusal({.type = 1, .bits = 8}), "TGA colour-mapped picture without a colour map");
    EXPECT_EQ(Refusal({.mapType = 2}), "unsupported TGA colour map type 2");
    EXPECT_EQ(Refusal({.type = 1,
                       .bits = 8,
                       .mapType = 1,
                       .mapLength = 1,
                       .mapEntryBits = 8,
                       .map = {0},
                       .pixels = {0}}),
              "unsupported TGA colour map entry size 8");
}

TEST(TgaTrueColour, TwentyFourAndThirtyTwoBitsAreStoredBlueFirst) {
    EXPECT_EQ(Decoded({.width = 2, .pixels = {1, 2, 3, 4, 5, 6}}), "030201ff 060504ff");
    EXPECT_EQ(Decoded({.width = 2,
                       .bits = 32,
                       .descriptor = kTopLeft | 8,
                       .pixels = {1, 2, 3, 0x80, 4, 5, 6, 0}}),
              "03020180 06050400");
}

TEST(TgaTrueColour, FiveBitChannelsWidenToTheNearestValue) {
    // Red, green and blue at full strength, then red 1, green 16, blue 3: 8, 132 and 25 (bit
    // replication would give 24 for the 3).
    const std::vector<uint8_t> pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x03, 0x06};
    const std::string expected = "ff0000ff 00ff00ff 0000ffff 088419ff";
    EXPECT_EQ(Decoded({.width = 4, .bits = 16, .pixels = pixels}), expected);
    // Fifteen bits read the same; the top bit is no alpha even where the descriptor has some.
    auto topBitSet = pixels;
    for (std::size_t i = 1; i < topBitSet.size(); i += 2) topBitSet[i] |= 0x80;
    EXPECT_EQ(Decoded({.width = 4, .bits = 15, .pixels = topBitSet}), expected);
    EXPECT_EQ(Decoded({.width = 4, .bits = 15, .descriptor = kTopLeft | 1, .pixels = pixels}),
              expected);
}

TEST(TgaOrigin, DescriptorBitsPlaceTheFirstStoredPixel) {
    const TgaParts grey{.type = 3, .width = 2, .height = 2, .bits = 8, .pixels = {1, 2, 3, 4}};
    auto with = [&](uint8_t descriptor) {
        TgaParts parts = grey;
        parts.descriptor = descriptor;
        return DecodedReds(parts);
    };
    EXPECT_EQ(with(kTopLeft), "1 2 | 3 4");
    EXPECT_EQ(with(kTopRight), "2 1 | 4 3");
    EXPECT_EQ(with(kBottomLeft), "3 4 | 1 2");
    EXPECT_EQ(with(kBottomRight), "4 3 | 2 1");
    // Interleaving bits 6 and 7 do not move anything.
    EXPECT_EQ(with(kBottomLeft | 0xC0), "3 4 | 1 2");
}

TEST(TgaLayout, IdFieldAndTheColourMapOfATrueColourFileAreSkipped) {
    const std::vector<uint8_t> id = {'n', 'o', 't', ' ', 'p', 'i', 'x', 'e', 'l', 's'};
    EXPECT_EQ(Decoded({.id = id, .pixels = {1, 2, 3}}), "030201ff");
    EXPECT_EQ(Decoded({.id = id,
                       .mapType = 1,
                       .mapLength = 2,
                       .mapEntryBits = 24,
                       .map = {9, 9, 9, 8, 8, 8},
                       .pixels = {1, 2, 3}}),
              "030201ff");
    EXPECT_EQ(Decoded({.type = 3,
                       .bits = 8,
                       .mapType = 1,
                       .mapLength = 1,
                       .mapEntryBits = 16,
                       .map = {9, 9},
                       .pixels = {5}}),
              "050505ff");

    // A skipped map must still lie inside the file, and so must the ID field.
    EXPECT_EQ(
        Refusal({.mapType = 1, .mapLength = 3, .mapEntryBits = 24, .map = {9, 9, 9, 8, 8, 8}}),
        "TGA colour map cut short");
    auto cutId = MakeTga({.id = {1, 2, 3, 4, 5}});
    cutId[0] = 6;
    EXPECT_EQ(RefusalOfFile(cutId), "TGA ID field cut short");
    cutId[0] = 5;  // exactly the bytes there are, and no pixels
    EXPECT_EQ(RefusalOfFile(cutId), "decoded");
}

TEST(TgaColourMap, IndexesLookUpEntriesFromTheFirstIndex) {
    // Entries 2, 3 and 4: red 10, green 20, blue 30. Indexes below or past them are black.
    const TgaParts mapped{.type = 1,
                          .width = 6,
                          .bits = 8,
                          .mapType = 1,
                          .mapFirst = 2,
                          .mapLength = 3,
                          .mapEntryBits = 24,
                          .map = {0, 0, 10, 0, 20, 0, 30, 0, 0},
                          .pixels = {2, 3, 4, 1, 5, 255}};
    EXPECT_EQ(Decoded(mapped), "0a0000ff 001400ff 00001eff 000000ff 000000ff 000000ff");

    // Sixteen-bit indexes reach past 255.
    std::vector<uint8_t> map(300 * 3, 0);
    map[299 * 3 + 2] = 77;
    EXPECT_EQ(DecodedReds({.type = 1,
                           .width = 3,
                           .bits = 16,
                           .mapType = 1,
                           .mapLength = 300,
                           .mapEntryBits = 24,
                           .map = map,
                           .pixels = {0x2B, 1, 0x2C, 1, 0, 0}}),
              "77 0 0");
}

TEST(TgaColourMap, EntriesOfEveryDepthAndTheirAlpha) {
    TgaParts mapped{.type = 1,
                    .width = 2,
                    .bits = 8,
                    .descriptor = kTopLeft | 1,
                    .mapType = 1,
                    .mapLength = 2,
                    .pixels = {0, 1}};
    mapped.mapEntryBits = 16;  // red with the attribute bit set, blue without
    mapped.map = {0x00, 0xFC, 0x1F, 0x00};
    EXPECT_EQ(Decoded(mapped), "ff0000ff 0000ff00");
    mapped.mapEntryBits = 15;
    EXPECT_EQ(Decoded(mapped), "ff0000ff 0000ffff");
    mapped.mapEntryBits = 32;
    mapped.descriptor = kTopLeft | 8;
    mapped.map = {1, 2, 3, 0x40, 4, 5, 6, 0};
    EXPECT_EQ(Decoded(mapped), "03020140 06050400");
    mapped.descriptor = kTopLeft;
    EXPECT_EQ(Decoded(mapped), "030201ff 060504ff");
}

TEST(TgaColourMap, MapsCutShortAreRefused) {
    const TgaParts mapped{.type = 1,
                          .bits = 8,
                          .mapType = 1,
                          .mapLength = 4,
                          .mapEntryBits = 24,
                          .map = std::vector<uint8_t>(11, 0),
                          .pixels = {}};
    EXPECT_EQ(Refusal(mapped), "TGA colour map cut short");
    TgaParts huge = mapped;
    huge.mapLength = 65535;
    huge.mapEntryBits = 32;
    EXPECT_EQ(Refusal(huge), "TGA colour map cut short");
    TgaParts exact = mapped;
    exact.map.push_back(0);
    EXPECT_EQ(Refusal(exact), "decoded");
}

TEST(TgaGrey, SixteenBitsCarryAlphaWhenTheDescriptorSaysSo) {
    const TgaParts grey{
        .type = 3, .width = 2, .bits = 16, .descriptor = kTopLeft | 8, .pixels = {10, 0x40, 20, 0}};
    EXPECT_EQ(Decoded(grey), "0a0a0a40 14141400");
    TgaParts undeclared = grey;
    undeclared.descriptor = kTopLeft;
    EXPECT_EQ(Decoded(undeclared), "0a0a0aff 141414ff");
}

TEST(TgaRunLength, PacketsCrossRows) {
    // 3x2: a run of four fills the top row and starts the next; two raw pixels end it.
    EXPECT_EQ(DecodedReds({.type = 10,
                           .width = 3,
                           .height = 2,
                           .pixels = {0x83, 0, 0, 9, 0x01, 0, 0, 1, 0, 0, 2}}),
              "9 9 9 | 9 1 2");
    // Bottom row first: a run of three, then one raw pixel, right-to-left too.
    const TgaParts bottomUp{.type = 11,
                            .width = 2,
                            .height = 2,
                            .bits = 8,
                            .descriptor = kBottomLeft,
                            .pixels = {0x82, 5, 0x00, 6}};
    EXPECT_EQ(DecodedReds(bottomUp), "5 6 | 5 5");
    TgaParts mirrored = bottomUp;
    mirrored.descriptor = kBottomRight;
    EXPECT_EQ(DecodedReds(mirrored), "6 5 | 5 5");
    // A raw packet spanning rows.
    EXPECT_EQ(
        DecodedReds(
            {.type = 11, .width = 2, .height = 2, .bits = 8, .pixels = {0x02, 1, 2, 3, 0x80, 4}}),
        "1 2 | 3 4");
}

TEST(TgaRunLength, PacketsPastThePictureEndAreClamped) {
    EXPECT_EQ(DecodedReds({.type = 11, .width = 2, .bits = 8, .pixels = {0xFF, 7, 0x80, 99}}),
              "7 7");
    EXPECT_EQ(DecodedReds({.type = 11, .width = 2, .bits = 8, .pixels = {0x7F, 1, 2, 3, 4}}),
              "1 2");
    EXPECT_EQ(
        DecodedReds({.type = 11, .width = 3, .bits = 8, .pixels = {0x00, 1, 0x85, 2, 0x80, 3}}),
        "1 2 2");
}

TEST(TgaRunLength, MappedAndDeepPixels) {
    EXPECT_EQ(Decoded({.type = 9,
                       .width = 3,
                       .bits = 8,
                       .mapType = 1,
                       .mapLength = 2,
                       .mapEntryBits = 24,
                       .map = {0, 0, 10, 0, 20, 0},
                       .pixels = {0x81, 1, 0x00, 0}}),
              "001400ff 001400ff 0a0000ff");
    EXPECT_EQ(Decoded({.type = 10,
                       .width = 3,
                       .bits = 32,
                       .descriptor = kTopLeft | 8,
                       .pixels = {0x81, 1, 2, 3, 0x80, 0x00, 4, 5, 6, 0}}),
              "03020180 03020180 06050400");
    EXPECT_EQ(Decoded({.type = 10, .width = 2, .bits = 16, .pixels = {0x81, 0x1F, 0x00}}),
              "0000ffff 0000ffff");
}

TEST(TgaTruncated, RawDataEndingEarlyLeavesTheRestBlack) {
    // Bottom row first, so the missing pixels are the top ones; the last pixel is incomplete.
    EXPECT_EQ(Decoded({.width = 2,
                       .height = 2,
                       .descriptor = kBottomLeft,
                       .pixels = {0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0}}),
              "030000ff 000000ff | 010000ff 020000ff");
    EXPECT_EQ(DecodedReds({.type = 3,
                           .width = 2,
                           .height = 3,
                           .bits = 8,
                           .descriptor = kBottomLeft,
                           .pixels = {1, 2, 3}}),
              "0 0 | 3 0 | 1 2");
}

TEST(TgaTruncated, RunLengthDataEndingEarlyLeavesTheRestBlack) {
    // A raw packet whose second pixel is cut off, and a run packet without its pixel.
    EXPECT_EQ(Decoded({.type = 10, .width = 4, .pixels = {0x81, 0, 0, 7, 0x01, 0, 0, 8, 0, 0}}),
              "070000ff 070000ff 080000ff 000000ff");
    EXPECT_EQ(DecodedReds({.type = 11, .width = 3, .bits = 8, .pixels = {0x80, 5, 0x81}}), "5 0 0");
    EXPECT_EQ(DecodedReds({.type = 11,
                           .width = 2,
                           .height = 2,
                           .bits = 8,
                           .descriptor = kBottomLeft,
                           .pixels = {0x81, 4}}),
              "0 0 | 4 4");
}

TEST(TgaAlpha, KeptOnlyWhenDeclaredCarriedAndUsed) {
    const TgaParts rgba{
        .width = 2, .bits = 32, .descriptor = kTopLeft | 8, .pixels = {1, 2, 3, 0x40, 4, 5, 6, 0}};
    EXPECT_EQ(Decoded(rgba), "03020140 06050400");
    TgaParts undeclared = rgba;
    undeclared.descriptor = kTopLeft;
    EXPECT_EQ(Decoded(undeclared), "030201ff 060504ff");
    TgaParts allZero = rgba;
    allZero.pixels[3] = 0;
    EXPECT_EQ(Decoded(allZero), "030201ff 060504ff");

    // Sixteen bits: the attribute bit is all-or-nothing alpha.
    const TgaParts attribute{
        .width = 2, .bits = 16, .descriptor = kTopLeft | 1, .pixels = {0x1F, 0x80, 0x1F, 0x00}};
    EXPECT_EQ(Decoded(attribute), "0000ffff 0000ff00");
    TgaParts noAttribute = attribute;
    noAttribute.pixels[1] = 0;
    EXPECT_EQ(Decoded(noAttribute), "0000ffff 0000ffff");

    // Pixels the data never reached stay opaque even when the others keep their alpha.
    EXPECT_EQ(
        Decoded({.width = 2, .bits = 32, .descriptor = kTopLeft | 8, .pixels = {1, 2, 3, 0x40}}),
        "03020140 000000ff");
}

TEST(TgaFile, ReadsFromAPath) {
    const auto bytes = MakeTga({.pixels = {1, 2, 3}});
    const test::TempFile file(bytes, ".tga");
    const auto result = ReadTgaFile(file.Path());
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(Dump(*result.picture), "030201ff");
    EXPECT_EQ(ReadTgaFile(file.Path() + ".missing").error, "cannot open the file");
}

}  // namespace
}  // namespace anitrope
