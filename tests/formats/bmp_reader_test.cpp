// The BMP reader against the public BMP suite (good files must show their reference pictures,
// bad and questionable ones must never read out of bounds) and against hand-made hostile
// headers and RLE streams.

#include "formats/bmp_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/still_picture.h"
#include "formats/png_reader.h"

namespace anitrope {
namespace {

namespace fs = std::filesystem;
const std::string kSuiteDir = ANITROPE_TESTDATA_DIR "/bmpsuite/";

std::vector<uint8_t> FileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> SuiteFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kSuiteDir + folder))
        if (entry.path().extension() == ".bmp") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every pixel's red, green and blue within `tolerance` of the reference; with `opaqueOnly`,
// pixels we decode as not fully opaque are skipped (their references are composited).
::testing::AssertionResult SameRgb(const RgbaPicture& picture, const RgbaPicture& ref,
                                   int tolerance = 0, bool opaqueOnly = false) {
    if (picture.width != ref.width || picture.height != ref.height)
        return ::testing::AssertionFailure() << picture.width << "x" << picture.height
                                             << " instead of " << ref.width << "x" << ref.height;
    for (int32_t y = 0; y < ref.height; ++y)
        for (int32_t x = 0; x < ref.width; ++x) {
            const uint8_t* p = picture.pixels.data() + (std::size_t(y) * ref.width + x) * 4;
            const uint8_t* r = ref.pixels.data() + (std::size_t(y) * ref.width + x) * 4;
            if (opaqueOnly && p[3] != 255) continue;
            if (std::abs(p[0] - r[0]) > tolerance || std::abs(p[1] - r[1]) > tolerance ||
                std::abs(p[2] - r[2]) > tolerance)
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << int(p[0]) << "," << int(p[1])
                       << "," << int(p[2]) << " instead of " << int(r[0]) << "," << int(r[1])
                       << "," << int(r[2]);
        }
    return ::testing::AssertionSuccess();
}

// The reference picture of each good file, as the suite's own page pairs them.
struct GoodFile {
    const char* bmp;
    const char* png;
};
const GoodFile kGoodFiles[] = {
    {"pal1.bmp", "pal1.png"},          {"pal1bg.bmp", "pal1bg.png"},
    {"pal1wb.bmp", "pal1.png"},        {"pal4.bmp", "pal4.png"},
    {"pal4gs.bmp", "pal4gs.png"},      {"pal4rle.bmp", "pal4.png"},
    {"pal8-0.bmp", "pal8.png"},        {"pal8.bmp", "pal8.png"},
    {"pal8gs.bmp", "pal8gs.png"},      {"pal8nonsquare.bmp", "pal8nonsquare-e.png"},
    {"pal8os2.bmp", "pal8.png"},       {"pal8rle.bmp", "pal8.png"},
    {"pal8topdown.bmp", "pal8.png"},   {"pal8v4.bmp", "pal8.png"},
    {"pal8v5.bmp", "pal8.png"},        {"pal8w124.bmp", "pal8w124.png"},
    {"pal8w125.bmp", "pal8w125.png"},  {"pal8w126.bmp", "pal8w126.png"},
    {"rgb16-565.bmp", "rgb16-565.png"}, {"rgb16-565pal.bmp", "rgb16-565.png"},
    {"rgb16.bmp", "rgb16.png"},        {"rgb16bfdef.bmp", "rgb16.png"},
    {"rgb24.bmp", "rgb24.png"},        {"rgb24pal.bmp", "rgb24.png"},
    {"rgb32.bmp", "rgb24.png"},        {"rgb32bf.bmp", "rgb24.png"},
    {"rgb32bfdef.bmp", "rgb24.png"},
};

TEST(BmpSuite, EveryGoodFileShowsItsReference) {
    const auto names = SuiteFiles("g");
    ASSERT_EQ(names.size(), std::size(kGoodFiles)) << "the good folder changed";
    for (const auto& good : kGoodFiles) {
        SCOPED_TRACE(good.bmp);
        const auto result = DecodeBmp(FileContents(kSuiteDir + "g/" + good.bmp));
        ASSERT_TRUE(result.picture) << result.error;
        const auto ref = ReadPngFile(kSuiteDir + "reference/" + good.png);
        ASSERT_TRUE(ref.picture) << ref.error;
        EXPECT_TRUE(SameRgb(*result.picture, *ref.picture));
        for (std::size_t i = 3; i < result.picture->pixels.size(); i += 4)
            ASSERT_EQ(result.picture->pixels[i], 255);
    }
}

// Questionable files we read and the reference they must then match; RLE pixels the stream
// skips take palette entry 0, the suite's "-0" pictures. Channels wider than 8 bits may round
// one step away from the reference; files with alpha are compared where they are opaque.
// rgb32-7187 and rgba32-61754 are left out: their references are 16-bit PNGs, which the PNG
// reader takes as linear light and converts, so their samples are not the raw values.
struct QuestionableFile {
    const char* bmp;
    const char* png;
    int tolerance = 0;
    bool opaqueOnly = false;
};
const QuestionableFile kQuestionableDecoded[] = {
    {"pal1p1.bmp", "pal1p1.png"},
    {"pal2.bmp", "pal2.png"},
    {"pal2color.bmp", "pal2color.png"},
    {"pal4rlecut.bmp", "pal4rlecut-0.png"},
    {"pal4rletrns.bmp", "pal4rletrns-0.png"},
    {"pal8offs.bmp", "pal8.png"},
    {"pal8os2-hs.bmp", "pal8.png"},
    {"pal8os2-sz.bmp", "pal8.png"},
    {"pal8os2sp.bmp", "pal8.png"},
    {"pal8os2v2-40sz.bmp", "pal8.png"},
    {"pal8rlecut.bmp", "pal8rlecut-0.png"},
    {"pal8rletrns.bmp", "pal8rletrns-0.png"},
    {"rgb16-231.bmp", "rgb16-231.png"},
    {"rgb16-3103.bmp", "rgb16-3103.png"},
    {"rgb16faketrns.bmp", "rgb16.png"},
    {"rgb24largepal.bmp", "rgb24.png"},
    {"rgb24lprof.bmp", "rgb24.png"},
    {"rgb24prof.bmp", "rgb24.png"},
    {"rgb32-111110.bmp", "rgb24.png", 1},
    {"rgb32-xbgr.bmp", "rgb24.png"},
    {"rgb32fakealpha.bmp", "rgb24.png"},
    {"rgb32h52.bmp", "rgb24.png"},
    {"rgba16-1924.bmp", "rgba16-1924.png", 0, true},
    {"rgba16-4444.bmp", "rgba16-4444.png", 0, true},
    {"rgba16-5551.bmp", "rgba16-5551.png", 0, true},
    {"rgba32-1010102.bmp", "rgba32-1010102.png", 1, true},
};

TEST(BmpSuite, QuestionableFilesDecodeOrAreRefused) {
    std::vector<std::string> decoded;
    for (const auto& name : SuiteFiles("q")) {
        const auto result = DecodeBmp(FileContents(kSuiteDir + "q/" + name));
        if (result.picture) {
            decoded.push_back(name);
        } else {
            EXPECT_FALSE(result.error.empty()) << name;
        }
    }
    for (const auto& q : kQuestionableDecoded) {
        SCOPED_TRACE(q.bmp);
        const auto result = DecodeBmp(FileContents(kSuiteDir + "q/" + q.bmp));
        ASSERT_TRUE(result.picture) << result.error;
        const auto ref = ReadPngFile(kSuiteDir + "reference/" + q.png);
        ASSERT_TRUE(ref.picture) << ref.error;
        EXPECT_TRUE(SameRgb(*result.picture, *ref.picture, q.tolerance, q.opaqueOnly));
    }
    std::string list;
    for (const auto& n : decoded) list += n + " ";
    std::cout << "decoded q/ files: " << list << "\n";
}

TEST(BmpSuite, BadFilesAreRefusedOrStayInBounds) {
    const auto names = SuiteFiles("b");
    ASSERT_FALSE(names.empty());
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const auto result = DecodeBmp(FileContents(kSuiteDir + "b/" + name));
        if (result.picture) {
            const auto& p = *result.picture;
            EXPECT_EQ(p.pixels.size(), std::size_t(p.width) * p.height * 4);
        } else {
            EXPECT_FALSE(result.error.empty());
        }
    }
    // The plainly broken headers must be refused, not guessed at.
    for (const char* name : {"badbitcount.bmp", "badheadersize.bmp", "badpalettesize.bmp",
                             "badplanes.bmp", "badwidth.bmp", "reallybig.bmp", "rletopdown.bmp",
                             "shortfile.bmp"})
        EXPECT_FALSE(DecodeBmp(FileContents(kSuiteDir + "b/" + name)).picture) << name;
}

TEST(BmpSuite, StillPictureReaderDispatchesBmpFiles) {
    const auto result = ReadStillPicture(kSuiteDir + "g/rgb24.bmp");
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_EQ(result.picture->width, 127);
    EXPECT_EQ(result.picture->height, 64);
}

// ---- hand-made files -------------------------------------------------------------------

void Put16(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A file with a 40-byte info header, `colours` palette entries (entry i is grey i) and the
// given pixel bytes straight after them.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                             uint32_t colours, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> b(54 + 4 * colours, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 10, static_cast<uint32_t>(b.size()));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    Put32(b, 46, colours);
    for (uint32_t i = 0; i < colours; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = uint8_t(i);
    b.insert(b.end(), pixels.begin(), pixels.end());
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    return b;
}

uint8_t Red(const RgbaPicture& p, int x, int y) { return p.pixels[(std::size_t(y) * p.width + x) * 4]; }

TEST(BmpHostile, PaletteAndOffsets) {
    // 2x1, 8 bits: two index bytes and two padding bytes.
    const std::vector<uint8_t> row = {1, 2, 0, 0};
    const auto ok = DecodeBmp(MakeBmp(2, 1, 8, 0, 4, row));
    ASSERT_TRUE(ok.picture) << ok.error;
    EXPECT_EQ(Red(*ok.picture, 0, 0), 1);
    EXPECT_EQ(Red(*ok.picture, 1, 0), 2);

    auto tooMany = MakeBmp(2, 1, 8, 0, 4, row);
    Put32(tooMany, 46, 257);
    EXPECT_FALSE(DecodeBmp(tooMany).picture);
    Put32(tooMany, 46, 0xFFFFFFFF);
    EXPECT_FALSE(DecodeBmp(tooMany).picture);

    // The palette claims more entries than the file holds.
    auto cutPalette = MakeBmp(2, 1, 8, 0, 4, {});
    Put32(cutPalette, 46, 200);
    EXPECT_FALSE(DecodeBmp(cutPalette).picture);

    auto offsetBeyond = MakeBmp(2, 1, 8, 0, 4, row);
    Put32(offsetBeyond, 10, static_cast<uint32_t>(offsetBeyond.size() + 1));
    EXPECT_FALSE(DecodeBmp(offsetBeyond).picture);
    Put32(offsetBeyond, 10, 0xFFFFFFFF);
    EXPECT_FALSE(DecodeBmp(offsetBeyond).picture);
    Put32(offsetBeyond, 10, 20);  // inside the info header
    EXPECT_FALSE(DecodeBmp(offsetBeyond).picture);

    // An index past the palette shows black rather than reading past the table.
    const auto pastPalette = DecodeBmp(MakeBmp(2, 1, 8, 0, 2, {200, 1, 0, 0}));
    ASSERT_TRUE(pastPalette.picture);
    EXPECT_EQ(Red(*pastPalette.picture, 0, 0), 0);
    EXPECT_EQ(Red(*pastPalette.picture, 1, 0), 1);
}

TEST(BmpHostile, PixelDataAndSizes) {
    // 3x2 at 24 bits needs two 12-byte rows; one byte short is refused.
    std::vector<uint8_t> rows(24, 0x40);
    EXPECT_TRUE(DecodeBmp(MakeBmp(3, 2, 24, 0, 0, rows)).picture);
    rows.pop_back();
    const auto shortData = DecodeBmp(MakeBmp(3, 2, 24, 0, 0, rows));
    EXPECT_FALSE(shortData.picture);
    EXPECT_EQ(shortData.error, "BMP pixel data cut short");

    EXPECT_FALSE(DecodeBmp(MakeBmp(0, 5, 24, 0, 0, {})).picture);
    EXPECT_EQ(DecodeBmp(MakeBmp(0, 5, 24, 0, 0, {})).error, "BMP picture has no pixels");
    EXPECT_FALSE(DecodeBmp(MakeBmp(5, 0, 24, 0, 0, {})).picture);
    EXPECT_FALSE(DecodeBmp(MakeBmp(-3, 2, 24, 0, 0, rows)).picture);
    EXPECT_FALSE(DecodeBmp(MakeBmp(0x7FFFFFFF, 0x7FFFFFFF, 32, 0, 0, {})).picture);
    EXPECT_FALSE(DecodeBmp(MakeBmp(1, INT32_MIN, 32, 0, 0, {})).picture);
    EXPECT_FALSE(DecodeBmp(MakeBmp(16385, 1, 32, 0, 0, {})).picture);
    // Within the limits but far more than the file holds: refused before allocating.
    EXPECT_FALSE(DecodeBmp(MakeBmp(16384, 4096, 32, 0, 0, {})).picture);

    // Truncated headers of every length.
    const auto whole = MakeBmp(3, 2, 24, 0, 0, std::vector<uint8_t>(24, 0));
    for (std::size_t n = 0; n < 54; ++n)
        EXPECT_FALSE(DecodeBmp({whole.data(), n}).picture) << n;
}

TEST(BmpHostile, TopDownAndDepths) {
    // 1x2, 24 bits: the first stored row is the bottom one unless the height is negative.
    const std::vector<uint8_t> rows = {0, 0, 10, 0, 0, 0, 20, 0};
    const auto up = DecodeBmp(MakeBmp(1, 2, 24, 0, 0, rows));
    const auto down = DecodeBmp(MakeBmp(1, -2, 24, 0, 0, rows));
    ASSERT_TRUE(up.picture && down.picture);
    EXPECT_EQ(Red(*up.picture, 0, 0), 20);
    EXPECT_EQ(Red(*down.picture, 0, 0), 10);

    for (const int bits : {0, 3, 5, 48, 64})
        EXPECT_FALSE(
            DecodeBmp(MakeBmp(1, 1, static_cast<uint16_t>(bits), 0, 0, std::vector<uint8_t>(8)))
                .picture)
            << bits;
    // RLE8 only with 8 bits, RLE4 only with 4, bit fields only with 16 or 32.
    EXPECT_FALSE(DecodeBmp(MakeBmp(1, 1, 4, 1, 16, {0, 1})).picture);
    EXPECT_FALSE(DecodeBmp(MakeBmp(1, 1, 8, 2, 16, {0, 1})).picture);
    EXPECT_FALSE(DecodeBmp(MakeBmp(1, 1, 24, 3, 0, std::vector<uint8_t>(16))).picture);
}

// A 32-bit bit-field file: masks after the 40-byte header, then the pixels.
std::vector<uint8_t> BitFields32(uint32_t compression, std::vector<uint32_t> masks,
                                 const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> data(4 * masks.size() + 4 * pixels.size());
    for (std::size_t i = 0; i < masks.size(); ++i) Put32(data, 4 * i, masks[i]);
    for (std::size_t i = 0; i < pixels.size(); ++i) Put32(data, 4 * (masks.size() + i), pixels[i]);
    auto b = MakeBmp(static_cast<int32_t>(pixels.size()), 1, 32, compression, 0, data);
    Put32(b, 10, static_cast<uint32_t>(54 + 4 * masks.size()));
    return b;
}

TEST(BmpHostile, BitFieldMasksAndAlpha) {
    // 2-bit red scaled to 8 bits: 1 -> 85, 3 -> 255.
    const auto twoBits = DecodeBmp(BitFields32(3, {0x3, 0xC, 0x30}, {0x1, 0x3}));
    ASSERT_TRUE(twoBits.picture) << twoBits.error;
    EXPECT_EQ(Red(*twoBits.picture, 0, 0), 85);
    EXPECT_EQ(Red(*twoBits.picture, 1, 0), 255);

    EXPECT_FALSE(DecodeBmp(BitFields32(3, {0x5, 0x0, 0x0}, {0})).picture);       // split mask
    EXPECT_FALSE(DecodeBmp(BitFields32(3, {0xFF, 0x1FF, 0x0}, {0})).picture);    // overlap
    // The masks themselves cut off by the file's end.
    auto cut = BitFields32(3, {0xFF, 0xFF00, 0xFF0000}, {});
    cut.resize(60);
    EXPECT_FALSE(DecodeBmp(cut).picture);

    // A 52-byte header holds three masks; alpha bit fields want a fourth, which must then
    // follow the header inside the file. Each prefix is its own block, so the sanitizer
    // sees where it ends.
    auto h52 = MakeBmp(1, 1, 32, 6, 0, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0});
    Put32(h52, 14, 52);
    Put32(h52, 10, 14 + 52);
    for (std::size_t n = 54; n <= h52.size(); ++n) {
        const std::vector<uint8_t> prefix(h52.begin(), h52.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(DecodeBmp(prefix).picture) << n;
    }
    Put32(h52, 10, 14 + 56);
    h52.insert(h52.end(), {0, 0, 0, 0xFF, 0x11, 0x22, 0x33, 0x44});
    const auto withFollowingMask = DecodeBmp(h52);
    ASSERT_TRUE(withFollowingMask.picture) << withFollowingMask.error;
    EXPECT_EQ(Red(*withFollowingMask.picture, 0, 0), 0x33);
    EXPECT_EQ(withFollowingMask.picture->pixels[3], 0x44);

    // Alpha is kept when some pixel has it, ignored when every pixel's alpha is zero.
    const uint32_t rgba[] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const auto withAlpha = DecodeBmp(BitFields32(6, {rgba, rgba + 4}, {0x80FF0000, 0x00FF0000}));
    ASSERT_TRUE(withAlpha.picture) << withAlpha.error;
    EXPECT_EQ(withAlpha.picture->pixels[3], 0x80);
    EXPECT_EQ(withAlpha.picture->pixels[7], 0);
    const auto zeroAlpha = DecodeBmp(BitFields32(6, {rgba, rgba + 4}, {0x00FF0000, 0x00FF0000}));
    ASSERT_TRUE(zeroAlpha.picture);
    EXPECT_EQ(zeroAlpha.picture->pixels[3], 255);
    // Plain 32-bit pixels never carry alpha.
    auto plain = MakeBmp(1, 1, 32, 0, 0, {0, 0, 0xFF, 0x10});
    ASSERT_TRUE(DecodeBmp(plain).picture);
    EXPECT_EQ(DecodeBmp(plain).picture->pixels[3], 255);
}

TEST(BmpHostile, RleRunsAreClippedToRowAndPicture) {
    // 3x2 RLE8, palette grey i. A run of 200 on the bottom row must stop at its end, not spill
    // into the row above; the top row stays palette entry 0 after the run.
    const auto longRun = DecodeBmp(MakeBmp(3, 2, 8, 1, 256, {200, 7, 0, 1}));
    ASSERT_TRUE(longRun.picture) << longRun.error;
    EXPECT_EQ(Red(*longRun.picture, 0, 1), 7);
    EXPECT_EQ(Red(*longRun.picture, 2, 1), 7);
    EXPECT_EQ(Red(*longRun.picture, 0, 0), 0);

    // A literal run longer than the row, and one longer than the data.
    const auto literal = DecodeBmp(MakeBmp(3, 1, 8, 1, 256, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}));
    ASSERT_TRUE(literal.picture);
    EXPECT_EQ(Red(*literal.picture, 2, 0), 3);
    EXPECT_TRUE(DecodeBmp(MakeBmp(3, 1, 8, 1, 256, {0, 200, 1, 2})).picture);

    // Deltas and end-of-lines past the picture's top end the decoding.
    const auto delta = DecodeBmp(MakeBmp(3, 2, 8, 1, 256, {0, 2, 255, 255, 3, 9, 0, 0, 0, 0, 0, 0, 3, 9}));
    ASSERT_TRUE(delta.picture);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Red(*delta.picture, x, y), 0);
    // A delta right and up lands where it should.
    const auto moved = DecodeBmp(MakeBmp(3, 2, 8, 1, 256, {0, 2, 2, 1, 1, 9, 0, 1}));
    ASSERT_TRUE(moved.picture);
    EXPECT_EQ(Red(*moved.picture, 2, 0), 9);
    EXPECT_EQ(Red(*moved.picture, 1, 0), 0);

    // RLE4: nibbles alternate, an odd literal run is padded.
    const auto four = DecodeBmp(MakeBmp(4, 1, 4, 2, 16, {0, 3, 0x12, 0x30, 0, 0, 1, 0xF5, 0, 1}));
    ASSERT_TRUE(four.picture) << four.error;
    EXPECT_EQ(Red(*four.picture, 0, 0), 1);
    EXPECT_EQ(Red(*four.picture, 2, 0), 3);
    EXPECT_EQ(Red(*four.picture, 3, 0), 0);
    // A 4-bit run of 200 on a 4-pixel row stays inside the row.
    EXPECT_TRUE(DecodeBmp(MakeBmp(4, 1, 4, 2, 16, {200, 0xF5})).picture);
}

}  // namespace
}  // namespace anitrope
