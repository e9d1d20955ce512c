#pragma once

#include <cstdint>
#include <memory>

#include "model/true_color_bitmap.h"

namespace anitrope {

struct Animation;
struct Gif;

// A new frame of the document holding `pixels` as its true colour (indexed pixels to come
// from a reduction), linked in between prev and next (the first frame when prev is null). The
// first frame of an empty document gives the screen its size. Nothing, and the document
// unchanged, when memory runs out.
Gif* LinkPictureFrame(Animation& animation, Gif* prev, Gif* next,
                      std::unique_ptr<TrueColorBitmap> pixels);

// Starts the new frame's reduction; a frame of another size than width x height is first
// resized to it smoothly (keeping its origin), which reduces it too.
void FitPictureFrame(Gif& gif, int64_t width, int64_t height);

}  // namespace anitrope
