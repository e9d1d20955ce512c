#pragma once

#include <cstddef>
#include <cstdint>

#include "model/indexed_bitmap.h"

namespace anitrope {

// Where decoded indices go: row by row, or in GIF89a's four interlace passes (appendix E).
// Bytes beyond the last row are dropped, so surplus data cannot write outside the frame.
class PixelCursor {
public:
    PixelCursor(IndexedBitmap& target, bool interlaced);

    void Write(const uint8_t* bytes, std::size_t count);

    // Where `count` bytes would go when they all fit in the current row, else null; the
    // decoder then writes them in place and calls Advance.
    uint8_t* Reserve(int32_t count) {
        return !done_ && count <= width_ - x_ ? target_.Row(y_) + x_ : nullptr;
    }
    void Advance(int32_t count) {
        x_ += count;
        if (x_ == width_) NextRow();
    }
    bool Full() const { return done_; }

private:
    void NextRow();

    IndexedBitmap& target_;
    int32_t width_;
    int32_t height_;
    bool interlaced_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t step_ = 8;
    int pass_ = 1;
    bool done_ = false;
};

}  // namespace anitrope
