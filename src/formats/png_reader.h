#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formats/picture_read_result.h"

namespace anitrope {

// Decodes any PNG (palette, grey, 16-bit, interlaced) to 8-bit RGBA. Pictures beyond the
// picture limits are refused before their pixels are allocated.
PictureReadResult DecodePng(std::span<const uint8_t> bytes);
PictureReadResult ReadPngFile(const std::string& path);

}  // namespace anitrope
