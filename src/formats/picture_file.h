#pragma once

#include <string>
#include <vector>

#include "formats/rgba_picture.h"

namespace anitrope {

// The pictures of a file, or why there are none.
struct PicturesReadResult {
    std::vector<RgbaPicture> pictures;
    std::string error;
};

// Every picture of a still-picture or cursor file: one for BMP, DIB, TGA, ICO, CUR, JPEG and
// PNG, each step of an ANI (drawn as cursors are). The reader follows the extension (see
// FormatOfExtension); a file of another extension is told by its signature (PNG, BMP, JPEG,
// binary PPM). GIF and AVI files are refused: they hold animations, read elsewhere.
PicturesReadResult ReadPictureFile(const std::string& path);

}  // namespace anitrope
