#pragma once

#include "model/gif.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

// Picks the frame's palette from its true-colour pixels: the frame's KeepColors first, then
// the most frequent colours, with low bits dropped as needed to keep the count manageable.
// Writes gif.palette, gif.transparentIndex and gif.transparent (always 1: the slot after the
// last colour, at most 255, is reserved for transparent pixels). Returns the number of usable
// colours, which is also the transparent index, or -1 when gif.abortReduction was set.
int ChoosePalette(const TrueColorBitmap& pixels, Gif& gif);

}  // namespace anitrope
