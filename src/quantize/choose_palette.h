#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "model/gif.h"
#include "model/palette_entry.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

// A frame's KeepColors: 0x00RRGGBB, -1 for an empty slot.
using KeepColors = std::array<int32_t, kKeepColorSlots>;

// Picks a palette for true-colour pixels: the KeepColors first, then the most frequent
// colours, with low bits dropped as needed to keep the count manageable. The slot after the
// last colour (at most 255) is left unused, for the transparent pixels. Returns the number of
// usable colours, which is also the transparent index, or -1 once `abort` is set.
int ChoosePalette(const TrueColorBitmap& pixels, const KeepColors& keep, Palette& palette,
                  const std::atomic<bool>* abort = nullptr);

}  // namespace anitrope
