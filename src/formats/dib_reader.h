#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "formats/rgba_picture.h"

namespace anitrope {

// Where a device-independent bitmap keeps its pixels, and what its header's height counts.
struct DibLayout {
    // From the info header's first byte. Nothing: straight after the colour table, as in
    // icon resources, where a colour count beyond the bit depth's is then refused.
    std::optional<std::size_t> pixelOffset;
    // Icon and cursor images: the height counts the colour rows and the AND mask rows below
    // them, rows are stored bottom first, the pixels are not compressed, and plain 32-bit
    // pixels carry alpha in their top byte. Sides beyond kMaxIconSide are refused.
    bool iconImage = false;
};

inline constexpr int64_t kMaxIconSide = 2048;

struct DibReadResult {
    std::optional<RgbaPicture> picture;  // the colour rows only, for an icon image
    std::string error;
    uint32_t bitsPerPixel = 0;
    bool alphaUsed = false;       // some pixel had a nonzero alpha value, which was kept
    std::size_t pixelOffset = 0;  // where the colour rows begin, from the header's first byte
    std::size_t pixelEnd = 0;     // just past them (uncompressed pictures only)
};

// Decodes a bitmap that starts at its info header (12, 40, 52, 56, 108 or 124 bytes): 1, 2,
// 4, 8, 16, 24 or 32 bits a pixel, RLE4, RLE8 and bit fields. Alpha is 255 unless the
// pixels have an alpha channel and some pixel a nonzero value in it. Pixels an RLE stream
// never sets take palette entry 0. Sizes beyond the picture limits, and any header, palette
// or pixel data beyond the span's end, are refused before pixels are allocated.
DibReadResult DecodeDib(std::span<const uint8_t> dib, const DibLayout& layout);

}  // namespace anitrope
