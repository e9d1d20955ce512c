#pragma once

#include <cstdint>

namespace anitrope {

struct Gif;

// A frame extent as the bitmap classes take it. Values beyond INT32_MAX saturate, which the
// picture limits then refuse, instead of wrapping into a small or negative size.
int32_t BitmapExtent(uint32_t extent);

// Gives the frame the size width x height and a new zeroed IndexedBitmap it owns. A refused or
// failed allocation leaves a bitmap without rows. Returns 0.
int AllocIndexed(Gif& gif, uint32_t width, uint32_t height);

// Marks the indexed pixels stale and gives the frame a new zeroed TrueColorBitmap of its own
// size, to be filled and reduced afterwards. Returns 0.
int AllocTrueColor(Gif& gif);

}  // namespace anitrope
