#pragma once

#include <cstdint>

#include "model/indexed_bitmap.h"
#include "model/screen_image.h"

namespace anitrope {

struct Animation;
struct Gif;

// Writes the frame's pixels into `target` (of the frame's size), with the transparent index
// wherever the pixel's colour equals the screen beneath under `mask`, so that those pixels
// show what is already there and compress to runs. Returns how many pixels were marked.
//
// Marks nothing (returns 0, `target` untouched) for the first frame, for a frame that is not
// transparent, and after a frame whose disposal is neither 0 nor 1. Otherwise the frame is
// flagged as having transparent pixels.
int64_t MarkUnchangedTransparent(const Animation& animation, Gif& frame, IndexedBitmap& target,
                                 const ScreenImage& before, uint32_t mask);

}  // namespace anitrope
