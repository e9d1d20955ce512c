#pragma once

#include <memory>
#include <string>

#include "formats/picture_read_result.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

// Reads a PNG, BMP or binary PPM file, told apart by their signatures.
PictureReadResult ReadStillPicture(const std::string& path);

// The picture as true-colour pixels; pixels less than half opaque become transparent.
std::unique_ptr<TrueColorBitmap> ToTrueColor(const RgbaPicture& picture);

}  // namespace anitrope
