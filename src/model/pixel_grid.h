#pragma once

#include <cstdint>
#include <memory>
#include <new>

#include "model/picture_limits.h"

namespace anitrope {

// Rows of pixels of type T, top row first, `stride` elements apart, zeroed on allocation (a
// truncated file leaves zeros, never old heap bytes). When the size is beyond the picture
// limits or memory runs out there are no rows: reads give 0 and writes do nothing. Pixel
// access has no bounds checks; callers keep to width x height.
template <class T>
class PixelGrid {
public:
    PixelGrid(const PixelGrid&) = delete;
    PixelGrid& operator=(const PixelGrid&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool HasRows() const { return pixels_ != nullptr; }

    T* Row(int32_t y) { return pixels_ ? pixels_.get() + int64_t{y} * stride_ : nullptr; }
    const T* Row(int32_t y) const {
        return pixels_ ? pixels_.get() + int64_t{y} * stride_ : nullptr;
    }
    T Get(int32_t x, int32_t y) const { return pixels_ ? Row(y)[x] : T{}; }
    void Set(int32_t x, int32_t y, T value) {
        if (pixels_) Row(y)[x] = value;
    }

protected:
    PixelGrid(int32_t width, int32_t height, int32_t stride)
        : width_(width), height_(height), stride_(stride) {
        if (!PictureSizeAllowed(width, height)) return;
        auto count = CheckedBufferSize(stride, height, 1);
        if (!count || *count == 0) return;
        pixels_.reset(new (std::nothrow) T[*count]());
    }
    ~PixelGrid() = default;

    int32_t Stride() const { return stride_; }

private:
    int32_t width_;
    int32_t height_;
    int32_t stride_;
    std::unique_ptr<T[]> pixels_;
};

}  // namespace anitrope
