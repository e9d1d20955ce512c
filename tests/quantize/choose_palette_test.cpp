#include "quantize/choose_palette.h"

#include <gtest/gtest.h>

#include <random>

#include "quantize_fixtures.h"

namespace anitrope {
namespace {

using testing::Entry;
using testing::FilledBitmap;
using testing::Rgb;
using testing::RowBitmap;

constexpr KeepColors kNoKeep{-1, -1, -1, -1, -1};

void ExpectUnusedFrom(const Palette& palette, int from) {
    for (int i = from; i < kPaletteSlots; ++i) EXPECT_TRUE(palette[i].IsUnused()) << "slot " << i;
}

TEST(ChoosePalette, PureWhiteLosesItsLowestBit) {
    Palette palette = EmptyPalette();
    EXPECT_EQ(ChoosePalette(*FilledBitmap(4, 3, 0xFFFFFF), kNoKeep, palette), 1);
    EXPECT_EQ(palette[0], (PaletteEntry{254, 254, 254}));
    ExpectUnusedFrom(palette, 1);
}

TEST(ChoosePalette, FewColoursKeepColumnOrderOfFirstAppearance) {
    // Column by column the colours appear as A, C, B; row by row it would be A, B, C.
    const uint32_t a = Rgb(10, 20, 30), b = Rgb(100, 0, 0), c = Rgb(0, 0, 200);
    TrueColorBitmap pixels(2, 2);
    pixels.Set(0, 0, a);
    pixels.Set(1, 0, b);
    pixels.Set(0, 1, c);
    pixels.Set(1, 1, a);
    Palette palette = EmptyPalette();
    palette.fill({1, 1, 1});  // stale slots must be cleared
    // Three colours, and the transparent slot after them.
    EXPECT_EQ(ChoosePalette(pixels, kNoKeep, palette), 3);
    EXPECT_EQ(palette[0], Entry(a));
    EXPECT_EQ(palette[1], Entry(c));
    EXPECT_EQ(palette[2], Entry(b));
    ExpectUnusedFrom(palette, 3);
}

TEST(ChoosePalette, FullyTransparentImageHasOnlyTheTransparentSlot) {
    Palette palette = EmptyPalette();
    EXPECT_EQ(ChoosePalette(*FilledBitmap(3, 3, TransparentBit | 0x123456), kNoKeep, palette), 0);
    ExpectUnusedFrom(palette, 0);
}

TEST(ChoosePalette, ManyColoursKeepTheMostFrequentWithTiesInOrderOfAppearance) {
    // Colour i is seen i % 3 + 1 times: 100 colours each of counts 3, 2 and 1.
    auto color = [](uint32_t i) { return Rgb(i % 20 * 12, i / 20 * 12, 2); };
    std::vector<uint32_t> row;
    for (uint32_t i = 0; i < 300; ++i) row.insert(row.end(), i % 3 + 1, color(i));
    Palette palette = EmptyPalette();
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), kNoKeep, palette), 255);
    EXPECT_EQ(palette[0], Entry(color(2)));
    EXPECT_EQ(palette[99], Entry(color(299)));
    EXPECT_EQ(palette[100], Entry(color(1)));
    EXPECT_EQ(palette[200], Entry(color(0)));
    EXPECT_EQ(palette[254], Entry(color(3 * 54)));
    EXPECT_TRUE(palette[255].IsUnused());
}

TEST(ChoosePalette, KeepColorsComeFirstMaskedEvenWhenNoPixelHasThem) {
    Palette palette = EmptyPalette();
    KeepColors keep = {-1, 0x133557, -1, 0x000080, 0x133557};
    EXPECT_EQ(ChoosePalette(*RowBitmap({0x000080, 0xFF0000}), keep, palette), 3);
    EXPECT_EQ(palette[0], (PaletteEntry{0x12, 0x34, 0x56}));
    EXPECT_EQ(palette[1], (PaletteEntry{0, 0, 0x80}));
    EXPECT_EQ(palette[2], (PaletteEntry{0xFE, 0, 0}));

    // 400 colours seen twice each cannot push a KeepColors entry out.
    std::vector<uint32_t> row;
    for (uint32_t i = 0; i < 400; ++i) row.insert(row.end(), 2, Rgb(i % 20 * 10, i / 20 * 10, 0));
    keep = {-1, -1, -1, -1, 0xFFFFFF};
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), keep, palette), 255);
    EXPECT_EQ(palette[0], (PaletteEntry{254, 254, 254}));
    EXPECT_EQ(palette[1], Entry(row[0]));
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
    Palette palette = EmptyPalette();
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), kNoKeep, palette), 255);
    for (int i = 0; i < 255; ++i) {
        ASSERT_EQ(palette[i], Entry(color(150 + static_cast<uint32_t>(i), 4))) << i;
    }
}

TEST(ChoosePalette, NeverDropsMoreThanFourBits) {
    // About 3500 colours stay distinct even with four bits dropped.
    std::mt19937 random(3);
    std::vector<uint32_t> row;
    for (int i = 0; i < 8192; ++i) row.push_back(static_cast<uint32_t>(random()) & 0xFFFFFF);
    Palette palette = EmptyPalette();
    EXPECT_EQ(ChoosePalette(*RowBitmap(row), kNoKeep, palette), 255);
    bool lowNibblesClear = true;
    bool sawTopNibble = false;  // the mask coarsens channels, it never clears them
    for (int i = 0; i < 255; ++i) {
        const PaletteEntry& e = palette[i];
        lowNibblesClear = lowNibblesClear && (e.red | e.green | e.blue) % 16 == 0;
        sawTopNibble = sawTopNibble || e.red == 0xF0;
    }
    EXPECT_TRUE(lowNibblesClear);
    EXPECT_TRUE(sawTopNibble);
}

TEST(ChoosePalette, AbortFlagStopsTheScan) {
    Palette palette = EmptyPalette();
    palette[0] = PaletteEntry{7, 7, 7};
    const std::atomic<bool> abort{true};
    EXPECT_EQ(ChoosePalette(*FilledBitmap(2, 2, 0x102030), kNoKeep, palette, &abort), -1);
    EXPECT_EQ(palette[0], (PaletteEntry{7, 7, 7})) << "the palette is left alone";
    const std::atomic<bool> carryOn{false};
    EXPECT_EQ(ChoosePalette(*FilledBitmap(2, 2, 0x102030), kNoKeep, palette, &carryOn), 1);
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
    Palette palette = EmptyPalette();
    // The transparent index is the count of colours.
    ASSERT_EQ(ChoosePalette(*bitmap, kNoKeep, palette), 255);
    for (int slot = 0; slot < 255; ++slot)
        EXPECT_NE(palette[slot], Entry(Rgb(0, 0, 8))) << "slot " << slot;
    EXPECT_EQ(palette[254], Entry(Rgb(254, 2, 4)));  // the last one now stays
    EXPECT_TRUE(palette[255].IsUnused());
}

}  // namespace
}  // namespace anitrope
