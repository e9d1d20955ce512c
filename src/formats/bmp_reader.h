#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/picture_read_result.h"

namespace anitrope {

// Decodes a Windows or OS/2 bitmap ("BM" file) to RGBA. Accepted: info headers of 12, 40,
// 52, 56, 108 and 124 bytes; 1, 2, 4, 8, 16, 24 and 32 bits a pixel; RLE4 and RLE8; bit-field
// masks for 16 and 32 bits; bottom-up and top-down rows. The pixels are read from the file
// header's pixel offset. Alpha is 255 unless the header has an alpha mask and some pixel has
// a nonzero alpha value. Pixels an RLE stream never sets take palette entry 0. Sizes beyond
// the picture limits, and any header, palette or pixel data beyond the file's end, are
// refused before pixels are allocated.
PictureReadResult DecodeBmp(std::span<const uint8_t> bytes);
PictureReadResult ReadBmpFile(const std::string& path);

}  // namespace anitrope
