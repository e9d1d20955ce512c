#pragma once

#include <cstdint>
#include <memory>

namespace anitrope {

struct Gif;

// A frame's 8-bit pixels: rows top first, each padded to a multiple of 4 bytes. The owner's
// palette (local or global, by its flag) gives the colours. When the allocation failed, or the
// size is beyond the picture limits, the bitmap has no rows: reads give 0, writes do nothing.
class IndexedBitmap {
public:
    IndexedBitmap(Gif* owner, int32_t width, int32_t height);
    virtual ~IndexedBitmap();
    IndexedBitmap(const IndexedBitmap&) = delete;
    IndexedBitmap& operator=(const IndexedBitmap&) = delete;

    // In 64 bits: a huge width, which the picture limits refuse later, must not overflow here.
    static int32_t StrideFor(int32_t width) {
        if (width <= 0) return 0;
        const int64_t padded = (int64_t{width} + 3) / 4 * 4;
        return padded > INT32_MAX ? INT32_MAX - 3 : static_cast<int32_t>(padded);
    }

    Gif* Owner() const { return owner_; }
    void SetOwner(Gif* owner) { owner_ = owner; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return stride_; }
    bool HasRows() const { return pixels_ != nullptr; }

    // Row y, or null without rows. No bounds checks: callers keep to width x height.
    uint8_t* Row(int32_t y) { return pixels_ ? pixels_.get() + int64_t{y} * stride_ : nullptr; }
    const uint8_t* Row(int32_t y) const {
        return pixels_ ? pixels_.get() + int64_t{y} * stride_ : nullptr;
    }
    uint8_t Get(int32_t x, int32_t y) const { return pixels_ ? Row(y)[x] : 0; }
    void Set(int32_t x, int32_t y, uint8_t value) {
        if (pixels_) Row(y)[x] = value;
    }

private:
    Gif* owner_;
    int32_t width_;
    int32_t height_;
    int32_t stride_;
    std::unique_ptr<uint8_t[]> pixels_;
};

}  // namespace anitrope
