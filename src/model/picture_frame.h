#pragma once

#include <cstdint>
#include <memory>

#include "model/true_color_bitmap.h"

namespace anitrope {

struct Animation;
struct Gif;

// A new frame of the document holding `pixels` as its true colour, awaiting its reduction
// (indexed pixels to come from it), linked to nothing yet. Null when memory runs out.
Gif* MakePictureFrame(Animation& animation, std::unique_ptr<TrueColorBitmap> pixels);

// A new frame of another size than width x height is resized to it smoothly, keeping its
// origin. False when that failed; the frame keeps its size then.
bool FitPictureFrame(Gif& gif, int64_t width, int64_t height);

}  // namespace anitrope
