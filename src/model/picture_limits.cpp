#include "model/picture_limits.h"

#include <limits>

namespace anitrope {

bool PictureSizeAllowed(int64_t width, int64_t height) {
    if (width < 0 || height < 0) return false;
    if (width > kMaxPictureDimension || height > kMaxPictureDimension) return false;
    return width * height <= kMaxPicturePixels;  // both at most 2^14: no overflow
}

std::optional<std::size_t> CheckedBufferSize(int64_t width, int64_t height,
                                             std::size_t bytesPerElement) {
    if (width < 0 || height < 0) return std::nullopt;
    std::size_t result = 0;
    if (__builtin_mul_overflow(static_cast<std::size_t>(width), static_cast<std::size_t>(height),
                               &result))
        return std::nullopt;
    if (__builtin_mul_overflow(result, bytesPerElement, &result)) return std::nullopt;
    return result;
}

}  // namespace anitrope
