#pragma once

#include <cstdint>
#include <memory>

namespace anitrope {

// Set on a true-colour pixel that is transparent; its colour bits are then ignored.
inline constexpr uint32_t TransparentBit = 0x1000000;

// 32-bit pixels 0x00RRGGBB (plus TransparentBit), rows top first, no padding. Without rows
// (failed or refused allocation) reads give 0 and writes do nothing.
class TrueColorBitmap {
public:
    TrueColorBitmap(int32_t width, int32_t height);
    virtual ~TrueColorBitmap();
    TrueColorBitmap(const TrueColorBitmap&) = delete;
    TrueColorBitmap& operator=(const TrueColorBitmap&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool HasRows() const { return pixels_ != nullptr; }

    uint32_t* Row(int32_t y) { return pixels_ ? pixels_.get() + int64_t{y} * width_ : nullptr; }
    const uint32_t* Row(int32_t y) const {
        return pixels_ ? pixels_.get() + int64_t{y} * width_ : nullptr;
    }
    uint32_t Get(int32_t x, int32_t y) const { return pixels_ ? Row(y)[x] : 0; }
    void Set(int32_t x, int32_t y, uint32_t value) {
        if (pixels_) Row(y)[x] = value;
    }

private:
    int32_t width_;
    int32_t height_;
    std::unique_ptr<uint32_t[]> pixels_;
};

}  // namespace anitrope
