#include "model/row_blocks.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "model/picture_limits.h"

namespace anitrope {
namespace {

// Bytes that `height` rows of `stride` need when the last one holds only `lastRow` bytes;
// nothing on overflow.
std::optional<std::size_t> RowsExtent(std::size_t stride, int64_t height, std::size_t lastRow) {
    if (height <= 0) return 0;
    std::size_t bytes = 0;
    if (__builtin_mul_overflow(stride, static_cast<std::size_t>(height - 1), &bytes) ||
        __builtin_add_overflow(bytes, lastRow, &bytes))
        return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::size_t> PaddedStride24(int64_t width) {
    const auto bits = CheckedBufferSize(width, 24, 1);
    std::size_t padded = 0;
    if (!bits || __builtin_add_overflow(*bits, std::size_t{31}, &padded)) return std::nullopt;
    return (padded & ~std::size_t{31}) / 8;
}

std::optional<std::vector<uint8_t>> PadRows24(std::span<const uint8_t> packed, int64_t width,
                                              int64_t height) {
    const auto stride = PaddedStride24(width);
    const auto rowBytes = CheckedBufferSize(width, 3, 1);
    if (!packed.data() || !stride || !rowBytes) return std::nullopt;
    const auto total = CheckedBufferSize(height, 1, *stride);
    const auto needed = CheckedBufferSize(height, 1, *rowBytes);
    if (!total || !needed || packed.size() < *needed) return std::nullopt;

    std::vector<uint8_t> padded(*total, 0);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        std::memcpy(padded.data() + y * *stride, packed.data() + y * *rowBytes, *rowBytes);
    return padded;
}

bool FlipRows(std::span<uint8_t> block, std::size_t stride, std::size_t height) {
    std::size_t bytes = 0;
    if (!block.data() || __builtin_mul_overflow(stride, height, &bytes) || block.size() < bytes)
        return false;
    // Rows pair up from both ends; the middle row of an odd count stays where it is.
    for (std::size_t top = 0, bottom = height; top + 1 < bottom; ++top, --bottom) {
        uint8_t* a = block.data() + top * stride;
        std::swap_ranges(a, a + stride, block.data() + (bottom - 1) * stride);
    }
    return true;
}

bool SwapRedBlue24(std::span<uint8_t> data, int64_t width, int64_t height) {
    const auto stride = PaddedStride24(width);
    const auto rowBytes = CheckedBufferSize(width, 3, 1);
    if (!data.data() || !stride || !rowBytes || height < 0) return false;
    const auto needed = RowsExtent(*stride, height, *rowBytes);
    if (!needed || data.size() < *needed) return false;

    for (int64_t y = 0; y < height; ++y) {
        uint8_t* row = data.data() + static_cast<std::size_t>(y) * *stride;
        for (std::size_t i = 0; i < *rowBytes; i += 3) std::swap(row[i], row[i + 2]);
    }
    return true;
}

}  // namespace anitrope
