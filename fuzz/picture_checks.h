#pragma once

// What every picture reader promises, whatever the bytes: a picture has a positive size within
// the picture limits (and within maxSide when the format has a smaller one) and exactly four
// bytes a pixel; a refusal says why. The fuzz targets abort when a promise is broken.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/picture_read_result.h"
#include "model/picture_limits.h"

namespace anitrope::fuzz {

inline bool Sound(const RgbaPicture& p, int64_t maxSide = kMaxPictureDimension) {
    return p.width > 0 && p.height > 0 && p.width <= maxSide && p.height <= maxSide &&
           PictureSizeAllowed(p.width, p.height) &&
           p.pixels.size() == static_cast<std::size_t>(p.width) * p.height * 4;
}

// A picture that is sound, or a refusal with a reason.
inline void RequireSoundOrExplained(const PictureReadResult& result,
                                    int64_t maxSide = kMaxPictureDimension) {
    if (result.picture ? !Sound(*result.picture, maxSide) : result.error.empty()) std::abort();
}

}  // namespace anitrope::fuzz
