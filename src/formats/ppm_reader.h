#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/picture_read_result.h"

namespace anitrope {

// Decodes a binary PPM picture (P6, maximum value 1-65535, 8 or 16 bits a sample) to RGBA
// with full alpha. Only the first picture of a stream is read. Sizes beyond the picture
// limits and data shorter than the header promises are refused.
PictureReadResult DecodePpm(std::span<const uint8_t> bytes);
PictureReadResult ReadPpmFile(const std::string& path);

}  // namespace anitrope
