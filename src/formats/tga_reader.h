#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/picture_read_result.h"

namespace anitrope {

// Decodes a Truevision Targa file to RGBA. Accepted: colour-mapped (8- or 16-bit indices into
// a map of 15, 16, 24 or 32-bit entries), true-colour (15, 16, 24, 32 bits) and grey (8 bits,
// or 16 bits of grey and alpha) pictures, uncompressed or run-length encoded, in any of the
// four row and column orders. Pictures are at most 2048 pixels wide and high.
//
// 5-bit channels are widened to the nearest 8-bit value, (v * 255 + 15) / 31. An index outside
// the colour map shows black. Alpha is kept only when the pixels (or map entries) carry it -
// 32 bits, or 16 bits with the attribute bit - the descriptor declares alpha bits, and some
// pixel's alpha is nonzero; otherwise the picture is opaque. Pixel data that ends before the
// picture is complete still loads, the missing pixels opaque black; a header, ID field or
// colour map cut short by the file's end is refused.
PictureReadResult DecodeTga(std::span<const uint8_t> bytes);
PictureReadResult ReadTgaFile(const std::string& path);

}  // namespace anitrope
