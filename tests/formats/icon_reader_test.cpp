// The icon and cursor readers against hand-built files: every depth's exact pixels, the
// monochrome mask picture, PNG entries, cursor drawing over grey, and damaged directories,
// palettes and image data.

#include "formats/icon_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "formats/png_writer.h"
#include "support/icon_builder.h"

namespace anitrope {
namespace {

using test::FileData;
using test::IconBitmap;
using test::IconBitmapBytes;
using test::IconFileBytes;
using test::PutLe32;

// Every pixel opaque and equal to the 0xRRGGBB values given, rows top first.
::testing::AssertionResult OpaquePixels(const RgbaPicture& p, int32_t width, int32_t height,
                                        const std::vector<uint32_t>& rgb) {
    if (p.width != width || p.height != height)
        return ::testing::AssertionFailure()
               << p.width << "x" << p.height << " instead of " << width << "x" << height;
    if (p.pixels.size() != rgb.size() * 4)
        return ::testing::AssertionFailure() << p.pixels.size() << " pixel bytes";
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        const uint8_t* px = p.pixels.data() + 4 * i;
        const uint32_t got = uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2];
        if (got != rgb[i] || px[3] != 255)
            return ::testing::AssertionFailure()
                   << "pixel " << i % width << "," << i / width << " is " << std::hex << got
                   << " alpha " << std::dec << int(px[3]) << " instead of " << std::hex << rgb[i];
    }
    return ::testing::AssertionSuccess();
}

// 3x2 at 1 bit with a palette that is neither black nor white, so the mask picture shows it
// uses the bits themselves.
IconBitmap Monochrome() {
    IconBitmap b;
    b.width = 3, b.height = 2, b.bitsPerPixel = 1;
    b.palette = {0xFF0000, 0x00FF00};
    b.pixels = {1, 0, 1, 0, 0, 1};
    b.mask = {0, 1, 1, 1, 0, 0};
    return b;
}

constexpr uint32_t W = 0xFFFFFF, K = 0x000000;

TEST(IconDepths, MonochromeEntryGivesMaskAboveColourBits) {
    const auto result = DecodeIcon(IconFileBytes(Monochrome()));
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_TRUE(OpaquePixels(*result.picture, 3, 4,
                             {K, W, W,     //
                              W, K, K,     // the AND mask
                              W, K, W,     //
                              K, K, W}));  // the colour bits
}

TEST(IconDepths, PaletteEntriesKeepTheirColoursUnderTheMask) {
    IconBitmap four;
    four.width = 3, four.height = 2, four.bitsPerPixel = 4;
    for (uint32_t i = 0; i < 16; ++i) four.palette.push_back(0x010203 * i + 0x100000);
    four.pixels = {15, 0, 7, 1, 14, 8};
    four.mask = {1, 1, 0, 0, 1, 1};
    const auto fourBits = DecodeIcon(IconFileBytes(four));
    ASSERT_TRUE(fourBits.picture) << fourBits.error;
    EXPECT_TRUE(OpaquePixels(*fourBits.picture, 3, 2,
                             {0x1F1E2D, 0x100000, 0x170E15, 0x110203, 0x1E1C2A, 0x181018}));

    // Five colours stored: the pixels start right after them, not after 256.
    IconBitmap eight;
    eight.width = 2, eight.height = 2, eight.bitsPerPixel = 8;
    eight.palette = {0x000000, 0x123456, 0xABCDEF, 0x00FF00, 0xFEDCBA};
    eight.pixels = {4, 1, 2, 3};
    eight.mask = {1, 0, 0, 1};
    const auto eightBits = DecodeIcon(IconFileBytes(eight));
    ASSERT_TRUE(eightBits.picture) << eightBits.error;
    EXPECT_TRUE(OpaquePixels(*eightBits.picture, 2, 2, {0xFEDCBA, 0x123456, 0xABCDEF, 0x00FF00}));
}

TEST(IconDepths, TrueColourEntriesAreOpaqueAsStored) {
    IconBitmap rgb = test::SolidBitmap(2, 2, 0);
    rgb.pixels = {0x102030, 0xFFFFFF, 0x000000, 0x405060};
    rgb.mask = {1, 1, 1, 1};
    const auto rgb24 = DecodeIcon(IconFileBytes(rgb));
    ASSERT_TRUE(rgb24.picture) << rgb24.error;
    EXPECT_TRUE(OpaquePixels(*rgb24.picture, 2, 2, {0x102030, 0xFFFFFF, 0x000000, 0x405060}));

    IconBitmap rgba = rgb;
    rgba.bitsPerPixel = 32;
    rgba.pixels = {0x80102030, 0x00FFFFFF, 0xFF000000, 0x01405060};
    const auto rgba32 = DecodeIcon(IconFileBytes(rgba));
    ASSERT_TRUE(rgba32.picture) << rgba32.error;
    EXPECT_TRUE(OpaquePixels(*rgba32.picture, 2, 2, {0x102030, 0xFFFFFF, 0x000000, 0x405060}));
}

RgbaPicture TwoByOne(std::array<uint8_t, 8> pixels) {
    return {2, 1, std::vector<uint8_t>(pixels.begin(), pixels.end())};
}

TEST(IconDepths, PngEntryGivesItsPixelsOpaque) {
    const auto png = EncodePng(TwoByOne({10, 20, 30, 128, 200, 100, 50, 0}));
    ASSERT_TRUE(png);
    const auto result = DecodeIcon(IconFileBytes(std::vector<FileData>{*png}));
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_TRUE(OpaquePixels(*result.picture, 2, 1, {0x0A141E, 0xC86432}));
}

TEST(IconDirectory, WidthByteZeroMeans256AndTheEntryDecides) {
    const auto file = IconFileBytes(test::SolidBitmap(256, 1, 0x336699));
    ASSERT_EQ(file[6], 0);  // the directory's width byte
    const auto result = DecodeIcon(file);
    ASSERT_TRUE(result.picture) << result.error;
    EXPECT_TRUE(OpaquePixels(*result.picture, 256, 1, std::vector<uint32_t>(256, 0x336699)));

    // The entry's header is believed over the directory's bytes.
    auto lying = file;
    lying[6] = 16, lying[7] = 16;
    ASSERT_TRUE(DecodeIcon(lying).picture);
    EXPECT_EQ(DecodeIcon(lying).picture->width, 256);
}

TEST(IconDirectory, HeaderAndDirectoryDamage) {
    const auto good = IconFileBytes(test::SolidBitmap(1, 1, 0x123456));
    ASSERT_TRUE(DecodeIcon(good).picture);
    auto cursorType = good;
    cursorType[2] = 2;
    EXPECT_TRUE(DecodeIcon(cursorType).picture);

    auto reserved = good;
    reserved[0] = 1;
    auto otherType = good;
    otherType[2] = 3;
    auto noImages = good;
    noImages[4] = 0;
    auto directoryPastEnd = good;  // 1000 entries cannot fit in the file
    directoryPastEnd[4] = 0xE8, directoryPastEnd[5] = 0x03;
    for (const auto* bad : {&reserved, &otherType, &noImages, &directoryPastEnd}) {
        const auto result = DecodeIcon(*bad);
        EXPECT_FALSE(result.picture);
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_EQ(DecodeIcon(directoryPastEnd).error, "icon directory cut short");
}

TEST(IconDirectory, EntryOutsideTheFile) {
    const auto good = IconFileBytes(test::SolidBitmap(1, 1, 0x123456));
    const uint32_t size = test::GetLe32(good, 14), offset = test::GetLe32(good, 18);
    const std::vector<std::pair<uint32_t, uint32_t>> bad = {
        {size, uint32_t(good.size())},  // starts at the end
        {size + 1, offset},             // one byte too long
        {0x20, 0xFFFFFFF0},             // offset + size wraps around 32 bits
        {0xFFFFFFFF, offset},           //
        {0, offset},                    // nothing to decode
    };
    for (const auto& [badSize, badOffset] : bad) {
        auto file = good;
        PutLe32(file, 14, badSize);
        PutLe32(file, 18, badOffset);
        const auto result = DecodeIcon(file);
        EXPECT_FALSE(result.picture) << badSize << " at " << badOffset;
        EXPECT_EQ(result.error, "icon image outside the file");
    }
}

TEST(IconDirectory, EveryTruncationIsRefused) {
    for (const auto& file :
         {IconFileBytes(Monochrome()), IconFileBytes(test::SolidBitmap(3, 3, 7))})
        for (std::size_t n = 0; n < file.size(); ++n) {
            const auto icon = DecodeIcon({file.data(), n});
            EXPECT_FALSE(icon.picture) << n;
            EXPECT_FALSE(icon.error.empty()) << n;
            EXPECT_FALSE(DecodeCursor({file.data(), n}).iconFound) << n;
        }
}

// A file of one bitmap entry with its info header patched at `at`.
FileData PatchedEntry(const IconBitmap& bitmap, std::size_t at, uint32_t value) {
    auto entry = IconBitmapBytes(bitmap);
    PutLe32(entry, at, value);
    return IconFileBytes(std::vector<FileData>{entry});
}

TEST(IconEntry, PaletteCountsAreChecked) {
    IconBitmap eight;
    eight.width = 1, eight.height = 1, eight.bitsPerPixel = 8;
    eight.palette = {0x111111, 0x222222, 0x333333, 0x444444};
    eight.pixels = {3};
    ASSERT_TRUE(DecodeIcon(IconFileBytes(eight)).picture);
    constexpr std::size_t kColourCount = 32;
    // More colours than the entry holds, than any palette has, than four bits index.
    EXPECT_EQ(DecodeIcon(PatchedEntry(eight, kColourCount, 200)).error,
              "icon bitmap: BMP palette cut short");
    EXPECT_FALSE(DecodeIcon(PatchedEntry(eight, kColourCount, 257)).picture);
    EXPECT_FALSE(DecodeIcon(PatchedEntry(eight, kColourCount, 0xFFFFFFFF)).picture);
    IconBitmap four = eight;
    four.bitsPerPixel = 4;
    four.palette.resize(16);
    ASSERT_TRUE(DecodeIcon(IconFileBytes(four)).picture);
    EXPECT_EQ(DecodeIcon(PatchedEntry(four, kColourCount, 17)).error,
              "icon bitmap: BMP palette too large");
    // A colour count of 0 means the depth's full table, which this entry does not hold.
    EXPECT_FALSE(DecodeIcon(PatchedEntry(eight, kColourCount, 0)).picture);
}

TEST(IconEntry, HeightsSidesAndDataLengths) {
    const auto bitmap = test::SolidBitmap(2, 2, 0x010203);
    constexpr std::size_t kHeight = 8, kWidth = 4;
    for (const uint32_t height : {3u, 0u, 0xFFFFFFFCu})  // odd, empty, top-down
        EXPECT_EQ(DecodeIcon(PatchedEntry(bitmap, kHeight, height)).error,
                  "icon bitmap: damaged icon image header")
            << height;
    EXPECT_EQ(DecodeIcon(PatchedEntry(bitmap, kWidth, 2049)).error,
              "icon bitmap: icon image too large");
    IconBitmap eight = bitmap;
    eight.bitsPerPixel = 8;
    eight.palette = {0};
    eight.pixels.assign(4, 0);
    constexpr std::size_t kCompression = 16;
    EXPECT_EQ(DecodeIcon(PatchedEntry(eight, kCompression, 1)).error,
              "icon bitmap: compressed icon images are not supported");

    // The directory gives the entry one byte less than its mask needs, then less than its
    // colour rows need.
    auto shortMask = IconFileBytes(bitmap);
    PutLe32(shortMask, 14, test::GetLe32(shortMask, 14) - 1);
    EXPECT_EQ(DecodeIcon(shortMask).error, "icon mask cut short");
    auto shortColours = IconFileBytes(bitmap);
    PutLe32(shortColours, 14, 40 + 8 + 7);
    EXPECT_EQ(DecodeIcon(shortColours).error, "icon bitmap: BMP pixel data cut short");

    // Beside a used alpha channel the mask is not needed, so a missing one is accepted.
    IconBitmap rgba = bitmap;
    rgba.bitsPerPixel = 32;
    rgba.pixels.assign(4, 0x80FFFFFF);
    auto noMask = IconFileBytes(rgba);
    PutLe32(noMask, 14, 40 + 16);
    ASSERT_TRUE(DecodeIcon(noMask).picture) << DecodeIcon(noMask).error;
    EXPECT_TRUE(DecodeCursor(noMask).iconFound);
}

TEST(IconEntry, PngSidesAreBoundedBeforeDecoding) {
    RgbaPicture wide{2049, 1, std::vector<uint8_t>(2049 * 4, 255)};
    const auto png = EncodePng(wide);
    ASSERT_TRUE(png);
    const auto result = DecodeIcon(IconFileBytes(std::vector<FileData>{*png}));
    EXPECT_EQ(result.error, "icon image too large");
    auto damaged = *png;
    damaged.resize(damaged.size() / 2);
    EXPECT_FALSE(DecodeIcon(IconFileBytes(std::vector<FileData>{damaged})).picture);
}

// ---- cursors -------------------------------------------------------------------------------

constexpr uint32_t G = 0xC0C0C0;  // the light grey screen

TEST(CursorDrawing, MaskAndColourCombineWithTheGrey) {
    IconBitmap b = test::SolidBitmap(4, 1, 0);
    b.pixels = {0x000000, 0x102030, 0x102030, 0xFFFFFF};
    b.mask = {1, 1, 0, 1};
    for (const uint16_t type : {test::kCursorFileType, test::kIconFileType}) {
        const auto result = DecodeCursor(IconFileBytes(b, type));
        ASSERT_TRUE(result.iconFound) << result.error;
        ASSERT_EQ(result.steps.size(), 1u);
        EXPECT_TRUE(result.error.empty());
        // Grey shows through; grey inverted by the colour; the colour alone; grey inverted.
        EXPECT_TRUE(OpaquePixels(result.steps[0], 4, 1, {G, 0xD0E0F0, 0x102030, 0x3F3F3F}));
    }
}

TEST(CursorDrawing, MonochromeCursorUsesItsPalette) {
    IconBitmap b = Monochrome();
    b.palette = {0x000000, 0xFFFFFF};
    const auto result = DecodeCursor(IconFileBytes(b, test::kCursorFileType));
    ASSERT_TRUE(result.iconFound) << result.error;
    EXPECT_TRUE(OpaquePixels(result.steps[0], 3, 2, {W, G, 0x3F3F3F, G, K, W}));
}

TEST(CursorDrawing, AlphaIsBlendedOverGrey) {
    IconBitmap b = test::SolidBitmap(5, 1, 0);
    b.bitsPerPixel = 32;
    b.pixels = {0x80000000, 0x80FFFFFF, 0x00123456, 0xFF0A0B0C, 0x40FF8000};
    b.mask = {1, 1, 1, 1, 1};  // ignored: the alpha channel decides
    const auto result = DecodeCursor(IconFileBytes(b, test::kCursorFileType));
    ASSERT_TRUE(result.iconFound) << result.error;
    // (c*a + 192*(255-a) + 127) / 255: 128 over 0 gives 96, over 255 gives 224; 64 gives
    // 208, 176 and 144 for 255, 128 and 0.
    EXPECT_TRUE(OpaquePixels(result.steps[0], 5, 1, {0x606060, 0xE0E0E0, G, 0x0A0B0C, 0xD0B090}));

    // Alpha zero everywhere is no alpha channel: the mask draws as for 24 bits.
    b.pixels = {0, 0x102030, 0, 0, 0};
    b.mask = {1, 0, 0, 1, 1};
    const auto noAlpha = DecodeCursor(IconFileBytes(b, test::kCursorFileType));
    ASSERT_TRUE(noAlpha.iconFound) << noAlpha.error;
    EXPECT_TRUE(OpaquePixels(noAlpha.steps[0], 5, 1, {G, 0x102030, K, G, G}));
}

TEST(CursorDrawing, PngEntryIsBlendedOverGrey) {
    const auto png = EncodePng(TwoByOne({255, 0, 0, 128, 0, 0, 255, 0}));
    ASSERT_TRUE(png);
    const auto result = DecodeCursor(IconFileBytes(std::vector<FileData>{*png}, 2));
    ASSERT_TRUE(result.iconFound) << result.error;
    EXPECT_TRUE(OpaquePixels(result.steps[0], 2, 1, {0xE06060, G}));
}

TEST(CursorDrawing, UnreadableFileHasNoIcon) {
    const auto result = DecodeCursor(FileData{'B', 'M', 0, 0});
    EXPECT_FALSE(result.iconFound);
    EXPECT_TRUE(result.steps.empty());
    EXPECT_EQ(result.error, "not an icon or cursor file");
    EXPECT_FALSE(ReadCursorFile("/nonexistent/file.cur").iconFound);
    EXPECT_FALSE(ReadIconFile("/nonexistent/file.ico").picture);
}

}  // namespace
}  // namespace anitrope
