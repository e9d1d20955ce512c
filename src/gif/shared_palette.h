#pragma once

#include <array>
#include <cstdint>

#include "model/indexed_bitmap.h"
#include "model/palette_entry.h"

namespace anitrope {

struct Gif;

// The global palette the optimizer builds for the frames whose colours fit into it. A frame's
// colour reuses the first entry within kSharedPaletteTolerance per channel, else gets a new
// entry. Transparent pixels of every frame share one entry of their own that no colour
// matches, so no opaque pixel becomes transparent.
inline constexpr int kSharedPaletteTolerance = 5;

class SharedPalette {
public:
    // Entry 0 holds the screen's background colour, so that it survives the rebuild.
    explicit SharedPalette(uint32_t backgroundRgb);

    // Writes the frame's pixels as shared indices into `target` (of the frame's size) and
    // returns the index that stands for its transparent pixels (-1 when the frame is not
    // transparent). When its colours do not fit, the palette is left as it was and -2 is
    // returned, `target` then holding nothing useful.
    int Map(const Gif& frame, IndexedBitmap& target);

    const Palette& Entries() const { return palette_; }
    int Count() const { return count_; }
    static constexpr int kFull = -2;

private:
    int Match(const PaletteEntry& color) const;

    Palette palette_ = EmptyPalette();
    int count_ = 0;
    int transparentSlot_ = -1;
};

}  // namespace anitrope
