#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace anitrope {

// Blocks of 24-bit pixel rows (3 bytes a pixel) as image files and clipboard formats exchange
// them: each row padded to a multiple of 4 bytes.

// Bytes per padded row of `width` 24-bit pixels; nothing for a negative width or overflow.
std::optional<std::size_t> PaddedStride24(int64_t width);

// The packed rows (width * 3 bytes each, no padding) copied into padded rows, the padding
// zeroed. Nothing for a null or too short source, a negative size or an overflowing one.
std::optional<std::vector<uint8_t>> PadRows24(std::span<const uint8_t> packed, int64_t width,
                                              int64_t height);

// Reverses the order of `height` rows of `stride` bytes in place. False, changing nothing, for
// a null block or one shorter than stride * height.
bool FlipRows(std::span<uint8_t> block, std::size_t stride, std::size_t height);

// Swaps the first and third byte of every pixel of padded 24-bit rows in place, turning RGB
// into BGR and back. False, changing nothing, for null data, a negative size or data too short
// for the rows.
bool SwapRedBlue24(std::span<uint8_t> data, int64_t width, int64_t height);

}  // namespace anitrope
