#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/rgba_picture.h"

namespace anitrope {

// One image of an icon or cursor file, split into what it shows and how it is drawn.
struct IconImage {
    // The colour (XOR) bitmap or the PNG as stored. Alpha is 255 unless blendAlpha is set.
    RgbaPicture colour;
    // One byte a pixel, rows top first: 1 where the AND mask lets the screen through. Empty
    // when blendAlpha is set: the alpha channel then decides alone and the mask is not read.
    std::vector<uint8_t> mask;
    // For 1-bit images only: each pixel's colour bit (0 or 1), rows top first.
    std::vector<uint8_t> monochromeBits;
    // PNG images, and bitmaps whose alpha channel is not zero everywhere.
    bool blendAlpha = false;
};

struct IconImageResult {
    std::optional<IconImage> image;
    std::string error;
};

// Decodes one directory entry's bytes: a PNG file, or a bitmap from its info header with a
// doubled height (colour rows, then 1-bit AND mask rows, both bottom first, each row padded
// to 4 bytes). Sides beyond kMaxIconSide are refused before anything is decoded. A mask that
// runs past the entry is refused, except beside an alpha channel, which makes it unused.
IconImageResult DecodeIconImage(std::span<const uint8_t> entry);

}  // namespace anitrope
