#include "model/indexed_bitmap.h"

#include <new>

#include "model/picture_limits.h"

namespace anitrope {

IndexedBitmap::IndexedBitmap(Gif* owner, int32_t width, int32_t height)
    : owner_(owner), width_(width), height_(height), stride_(StrideFor(width)) {
    if (!PictureSizeAllowed(width, height)) return;
    auto bytes = CheckedBufferSize(stride_, height, 1);
    if (!bytes || *bytes == 0) return;
    // Zeroed rather than undefined: a truncated file leaves index 0, never old heap bytes.
    pixels_.reset(new (std::nothrow) uint8_t[*bytes]());
}

IndexedBitmap::~IndexedBitmap() = default;

}  // namespace anitrope
