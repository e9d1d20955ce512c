#include "quantize/choose_palette.h"

#include <gtest/gtest.h>

#include <random>

#include "model/animation.h"
#include "model/gif.h"
#include "quantize_fixtures.h"

namespace anitrope {
namespace {

using testing::Entry;
using testing::FilledBitmap;
using testing::Rgb;
using testing::RowBitmap;

void ExpectUnusedFrom(const Palette& palette, int from) {
    for (int i = from; i < kPaletteSlots; ++i) EXPECT_TRUE(palette[i].IsUnused()) << "slot " << i;
}

TEST(ChoosePalette, PureWhiteLosesItsLowestBit) {
    Gif gif(nullptr);
    EXPECT_EQ(ChoosePalette(*FilledBitmap(4, 3, 0xFFFFFF), gif), 1);
    EXPECT_EQ(gif.palette[0], (PaletteEntry{254, 254, 254}));
    ExpectUnusedFrom(gif.palette, 1);
}

TEST(ChoosePalette, FewColoursKeepColumnOrderOfFirstAppearance) {
    // Column by column the colours appear as A, C, B; row by row it would be A, B, C.
    const uint32_t a = Rgb(10, 20, 30), b = Rgb(100, 0, 0), c = Rgb(0, 0, 200);
    TrueColorBitmap pixels(2, 2);
    pixels.Set(0, 0, a);
    pixels.Set(1, 0, b);
    pixels.Set(0, 1, c);
    pixels.Set(1, 1, a);
    Gif gif(nullptr);
    gif.transparent = 0;
    gif.palette.fill({1, 1, 1});  // stale slots must be cleared
    EXPECT_EQ(ChoosePalette(pixels, gif), 3);
    EXPECT_EQ(gif.palette[0], Entry(a));
    EXPECT_EQ(gif.palette[1], Entry(c));
    EXPECT_EQ(gif.palette[2], Entry(b));
    ExpectUnusedFrom(gif.palette, 3);
    EXPECT_EQ(gif.transparentIndex, 3);
    EXPECT_EQ(gif.transparent, 1);
}

TEST(ChoosePalette, FullyTransparentImageHasOnlyTheTransparentSlot) {
    Gif gif(nullptr);
    EXPECT_EQ(ChoosePalette(*FilledBitmap(3, 3, TransparentBit | 0x123456), gif), 0);
    EXPECT_EQ(gif.transparentIndex, 0);
    EXPECT_EQ(gif.transparent, 1);
    ExpectUnusedFrom(gif.palette, 0);
}

TEST(ChoosePalette, ManyColoursKeepTheMostFrequentWithTiesInOrderOfAppearance) {
    // Colour i is seen i % 3 + 1 times: 100 colours each of counts 3, 2 and 1.
    auto color = [](uint32_t i) { return Rgb(i % 20 * 12, i / 20 * 12, 2); };
    std::vector<uint32_t> row;
    for (uint32_t i = 0; i < 300; ++i) row.insert(row.end(), i % 3 + 1, color(i));
    Gif gif(nullptr);
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), gif), 255);
    EXPECT_EQ(gif.palette[0], Entry(color(2)));
    EXPECT_EQ(gif.palette[99], Entry(color(299)));
    EXPECT_EQ(gif.palette[100], Entry(color(1)));
    EXPECT_EQ(gif.palette[200], Entry(color(0)));
    EXPECT_EQ(gif.palette[254], Entry(color(3 * 54)));
    EXPECT_TRUE(gif.palette[255].IsUnused());
}

TEST(ChoosePalette, KeepColorsComeFirstMaskedEvenWhenNoPixelHasThem) {
    Gif gif(nullptr);
    gif.keepColors = {-1, 0x133557, -1, 0x000080, 0x133557};
    EXPECT_EQ(ChoosePalette(*RowBitmap({0x000080, 0xFF0000}), gif), 3);
    EXPECT_EQ(gif.palette[0], (PaletteEntry{0x12, 0x34, 0x56}));
    EXPECT_EQ(gif.palette[1], (PaletteEntry{0, 0, 0x80}));
    EXPECT_EQ(gif.palette[2], (PaletteEntry{0xFE, 0, 0}));

    // 400 colours seen twice each cannot push a KeepColors entry out.
    std::vector<uint32_t> row;
    for (uint32_t i = 0; i < 400; ++i) row.insert(row.end(), 2, Rgb(i % 20 * 10, i / 20 * 10, 0));
    gif.keepColors = {-1, -1, -1, -1, 0xFFFFFF};
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), gif), 255);
    EXPECT_EQ(gif.palette[0], (PaletteEntry{254, 254, 254}));
    EXPECT_EQ(gif.palette[1], Entry(row[0]));
}

TEST(ChoosePalette, TooManyColoursDropAnotherBitAndMergeTheirCounts) {
    // 600 colours whose blue is 5 or 7: distinct with one bit dropped, equal with two. Blue 5
    // comes first, twice for colours below 150 and once for the others; then colours 150 and
    // up come twice with blue 7. The list outgrows 1024 entries during that second pass, so
    // colours 150 and up end up counted three times, ahead of the rest.
    auto color = [](uint32_t j, uint32_t blue) { return Rgb(j % 32 * 8, j / 32 * 8, blue); };
    std::vector<uint32_t> row;
    for (uint32_t j = 0; j < 600; ++j) row.insert(row.end(), j < 150 ? 2 : 1, color(j, 5));
    for (uint32_t j = 150; j < 600; ++j) row.insert(row.end(), 2, color(j, 7));
    Gif gif(nullptr);
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), gif), 255);
    for (int i = 0; i < 255; ++i) {
        ASSERT_EQ(gif.palette[i], Entry(color(150 + static_cast<uint32_t>(i), 4))) << i;
    }
}

TEST(ChoosePalette, NeverDropsMoreThanFourBits) {
    // About 3500 colours stay distinct even with four bits dropped.
    std::mt19937 random(3);
    std::vector<uint32_t> row;
    for (int i = 0; i < 8192; ++i) row.push_back(static_cast<uint32_t>(random()) & 0xFFFFFF);
    Gif gif(nullptr);
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), gif), 255);
    bool lowNibblesClear = true;
    bool sawTopNibble = false;  // the mask coarsens channels, it never clears them
    for (int i = 0; i < 255; ++i) {
        const PaletteEntry& e = gif.palette[i];
        lowNibblesClear = lowNibblesClear && (e.red | e.green | e.blue) % 16 == 0;
        sawTopNibble = sawTopNibble || e.red == 0xF0;
    }
    EXPECT_TRUE(lowNibblesClear);
    EXPECT_TRUE(sawTopNibble);
}

TEST(ChoosePalette, AbortFlagStopsTheScan) {
    Gif gif(nullptr);
    gif.abortReduction = 1;
    gif.transparentIndex = 7;
    EXPECT_EQ(ChoosePalette(*FilledBitmap(2, 2, 0x102030), gif), -1);
    EXPECT_EQ(gif.transparentIndex, 7);
}

}  // namespace
}  // namespace anitrope

namespace anitrope {
namespace {

using namespace anitrope::testing;

TEST(ChoosePaletteFull, ExactlyTwoHundredFiftySixColoursLoseTheLeastFrequent) {
    // Colour 0 appears once and first; every other colour twice. The transparent slot must
    // cost colour 0, not the colour that appeared last.
    std::vector<uint32_t> row = {Rgb(0, 0, 8)};
    for (uint32_t i = 1; i < 256; ++i) row.insert(row.end(), 2, Rgb(2 * i % 256, (i >> 7) * 2, 4));
    auto bitmap = RowBitmap(row);
    Animation doc;
    Gif gif(&doc);
    ASSERT_EQ(ChoosePalette(*bitmap, gif), 255);
    EXPECT_EQ(gif.transparentIndex, 255);
    for (int slot = 0; slot < 255; ++slot)
        EXPECT_NE(gif.palette[slot], Entry(Rgb(0, 0, 8))) << "slot " << slot;
    EXPECT_EQ(gif.palette[254], Entry(Rgb(254, 2, 4)));  // the last one now stays
    EXPECT_TRUE(gif.palette[255].IsUnused());
}

}  // namespace
}  // namespace anitrope
