#include "gif/shared_palette.h"

#include <gtest/gtest.h>

#include "model/gif.h"

namespace anitrope::test {
namespace {

// A frame on its own palette whose pixel x (one row) has index x.
struct RowFrame {
    explicit RowFrame(const std::vector<PaletteEntry>& colors) : gif(nullptr) {
        const auto n = static_cast<int32_t>(colors.size());
        gif.width = static_cast<uint32_t>(n);
        gif.height = 1;
        gif.indexed = std::make_unique<IndexedBitmap>(&gif, n, 1);
        for (int32_t x = 0; x < n; ++x) {
            gif.palette[static_cast<std::size_t>(x)] = colors[static_cast<std::size_t>(x)];
            gif.indexed->Set(x, 0, static_cast<uint8_t>(x));
        }
    }
    int MapInto(SharedPalette& shared) {
        target = std::make_unique<IndexedBitmap>(&gif, gif.indexed->Width(), 1);
        return shared.Map(gif, *target);
    }
    Gif gif;
    std::unique_ptr<IndexedBitmap> target;
};

TEST(SharedPalette, StartsWithTheBackgroundColour) {
    SharedPalette shared(0x102030);
    EXPECT_EQ(shared.Count(), 1);
    EXPECT_EQ(shared.Entries()[0], (PaletteEntry{0x10, 0x20, 0x30}));
    EXPECT_TRUE(shared.Entries()[1].IsUnused());
}

TEST(SharedPalette, ColoursWithinFivePerChannelShareAnEntry) {
    SharedPalette shared(0x000000);
    RowFrame first({{100, 100, 100}, {200, 10, 10}});
    EXPECT_EQ(first.MapInto(shared), -1);
    EXPECT_EQ(shared.Count(), 3);
    RowFrame second({{105, 95, 100}, {106, 100, 100}, {3, 0, 5}});
    second.MapInto(shared);
    EXPECT_EQ(second.target->Get(0, 0), 1) << "within 5 of entry 1";
    EXPECT_EQ(second.target->Get(1, 0), 3) << "6 away: a new entry";
    EXPECT_EQ(second.target->Get(2, 0), 0) << "close to the background";
    EXPECT_EQ(shared.Count(), 4);
    EXPECT_EQ(shared.Entries()[3], (PaletteEntry{106, 100, 100}));
}

TEST(SharedPalette, ColoursAreAddedInColumnOrder) {
    // Two rows: the scan goes down each column first, so (0,1) comes before (1,0).
    Gif gif(nullptr);
    gif.width = gif.height = 2;
    gif.indexed = std::make_unique<IndexedBitmap>(&gif, 2, 2);
    gif.palette[0] = {10, 0, 0};
    gif.palette[1] = {20, 0, 0};
    gif.palette[2] = {30, 0, 0};
    gif.indexed->Set(0, 0, 0);
    gif.indexed->Set(1, 0, 1);
    gif.indexed->Set(0, 1, 2);
    gif.indexed->Set(1, 1, 1);
    SharedPalette shared(0xFFFFFF);
    IndexedBitmap target(&gif, 2, 2);
    shared.Map(gif, target);
    EXPECT_EQ(shared.Entries()[1].red, 10);
    EXPECT_EQ(shared.Entries()[2].red, 30);
    EXPECT_EQ(shared.Entries()[3].red, 20);
}

TEST(SharedPalette, TransparentPixelsGetTheirOwnEntryThatNoColourMatches) {
    SharedPalette shared(0x000000);
    RowFrame transparent({{0, 0, 0}, {50, 50, 50}, {0, 0, 0}});
    transparent.gif.transparent = 1;
    transparent.gif.transparentIndex = 2;
    const int slot = transparent.MapInto(shared);
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(transparent.target->Get(0, 0), 0) << "black is the background entry";
    EXPECT_EQ(transparent.target->Get(2, 0), slot);
    EXPECT_NE(transparent.target->Get(1, 0), slot);

    // Black again, in a frame without transparency: never the transparent entry.
    RowFrame opaque({{0, 0, 0}, {1, 1, 1}});
    EXPECT_EQ(opaque.MapInto(shared), -1);
    EXPECT_NE(opaque.target->Get(0, 0), slot);
    EXPECT_NE(opaque.target->Get(1, 0), slot);
    RowFrame later({{9, 9, 9}});
    later.gif.transparent = 1;
    later.gif.transparentIndex = 0;
    EXPECT_EQ(later.MapInto(shared), slot) << "one entry serves every frame";
}

std::vector<PaletteEntry> SpreadColors(int count, int offset) {
    std::vector<PaletteEntry> colors;
    for (int i = 0; i < count; ++i) {
        const int v = i + offset;
        colors.push_back({v % 16 * 16, v / 16 % 16 * 16, v / 256 * 100 + 7});
    }
    return colors;
}

TEST(SharedPalette, AFrameThatDoesNotFitLeavesThePaletteAsItWas) {
    SharedPalette shared(0x000000);
    RowFrame first(SpreadColors(200, 1));
    EXPECT_EQ(first.MapInto(shared), -1);
    EXPECT_EQ(shared.Count(), 201);
    const Palette before = shared.Entries();
    RowFrame second(SpreadColors(100, 300));
    second.gif.transparent = 1;  // its reserved entry is taken back too
    second.gif.transparentIndex = 99;
    EXPECT_EQ(second.MapInto(shared), SharedPalette::kFull);
    EXPECT_EQ(shared.Count(), 201);
    EXPECT_EQ(shared.Entries(), before);

    RowFrame fits(SpreadColors(55, 300));
    EXPECT_EQ(fits.MapInto(shared), -1);
    EXPECT_EQ(shared.Count(), 256);
}

}  // namespace
}  // namespace anitrope::test
