#pragma once

#include <memory>
#include <string>

#include "formats/picture_read_result.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

// Reads a PNG, BMP, JPEG or binary PPM file, told apart by their signatures.
PictureReadResult ReadStillPicture(const std::string& path);

// The picture as true-colour pixels; pixels less than half opaque become transparent, unless
// `opaque` asks for every pixel's colour whatever its alpha. Nothing when memory runs out.
std::unique_ptr<TrueColorBitmap> ToTrueColor(const RgbaPicture& picture, bool opaque = false);

}  // namespace anitrope
