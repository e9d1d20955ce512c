#pragma once

#include <array>
#include <cstdint>

namespace anitrope {

// One colour-table slot. Channels are 0-255; -1 in all three marks an unused slot, so a
// file's smaller colour table fills the first slots and leaves the rest recognisably empty.
struct PaletteEntry {
    int32_t red = -1;
    int32_t green = -1;
    int32_t blue = -1;

    bool IsUnused() const { return red < 0; }
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// Palettes always have 256 slots, whatever the colour-table size of their source.
inline constexpr int kPaletteSlots = 256;
using Palette = std::array<PaletteEntry, kPaletteSlots>;

// Every slot unused.
Palette EmptyPalette();

// Marks slots [from, 256) unused.
void ClearPaletteFrom(Palette& palette, int from);

// Number of slots before the first unused one.
int UsedPaletteSlots(const Palette& palette);

// The slot's colour as 0x00RRGGBB; an unused slot shows black, as it does on screen.
uint32_t PaletteRgb(const PaletteEntry& entry);

}  // namespace anitrope
