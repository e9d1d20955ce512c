#include "model/true_color_bitmap.h"

#include <new>

#include "model/picture_limits.h"

namespace anitrope {

TrueColorBitmap::TrueColorBitmap(int32_t width, int32_t height) : width_(width), height_(height) {
    if (!PictureSizeAllowed(width, height)) return;
    auto count = CheckedBufferSize(width, height, 1);
    if (!count || *count == 0) return;
    pixels_.reset(new (std::nothrow) uint32_t[*count]());
}

TrueColorBitmap::~TrueColorBitmap() = default;

}  // namespace anitrope
