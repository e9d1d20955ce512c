#pragma once

#include <cstdint>
#include <memory>

#include "model/true_color_bitmap.h"

namespace anitrope {

struct Animation;
struct Gif;

// Gives a new frame `pixels` as its true colour and their size, awaiting its reduction
// (indexed pixels to come from it). False, leaving the frame alone, when memory runs out.
bool SetPicture(Gif& gif, std::unique_ptr<TrueColorBitmap> pixels);

// A new frame of the document holding `pixels` (see SetPicture), linked to nothing yet. Null
// when memory runs out.
Gif* MakePictureFrame(Animation& animation, std::unique_ptr<TrueColorBitmap> pixels);

// A new frame of another size than width x height is resized to it smoothly, keeping its
// origin. False when that failed; the frame keeps its size then.
bool FitPictureFrame(Gif& gif, int64_t width, int64_t height);

}  // namespace anitrope
