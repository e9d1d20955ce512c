#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace anitrope {

// Every reader refuses pictures beyond these bounds before it allocates anything, so a
// hostile header cannot ask for gigabytes.
inline constexpr int64_t kMaxPictureDimension = 16384;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;  // 64 Mpixels

// True when width x height is a picture we are willing to hold (zero sizes included).
bool PictureSizeAllowed(int64_t width, int64_t height);

// width x height x bytesPerElement, or nothing when a factor is negative or the product
// overflows size_t.
std::optional<std::size_t> CheckedBufferSize(int64_t width, int64_t height,
                                             std::size_t bytesPerElement);

}  // namespace anitrope
