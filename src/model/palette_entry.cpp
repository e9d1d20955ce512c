#include "model/palette_entry.h"

#include <algorithm>

namespace anitrope {

Palette EmptyPalette() {
    Palette palette;
    palette.fill(PaletteEntry{});
    return palette;
}

void ClearPaletteFrom(Palette& palette, int from) {
    for (int i = from < 0 ? 0 : from; i < kPaletteSlots; ++i) palette[i] = PaletteEntry{};
}

int UsedPaletteSlots(const Palette& palette) {
    int n = 0;
    while (n < kPaletteSlots && !palette[n].IsUnused()) ++n;
    return n;
}

uint32_t PaletteRgb(const PaletteEntry& entry) {
    if (entry.IsUnused()) return 0;
    auto channel = [](int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return channel(entry.red) << 16 | channel(entry.green) << 8 | channel(entry.blue);
}

}  // namespace anitrope
