#pragma once

#include <cstdint>

#include "model/pixel_grid.h"

namespace anitrope {

struct Gif;

// A frame's 8-bit pixels: rows top first, each padded to a multiple of 4 bytes. The owner's
// palette (local or global, by its flag) gives the colours.
class IndexedBitmap : public PixelGrid<uint8_t> {
public:
    IndexedBitmap(Gif* owner, int32_t width, int32_t height)
        : PixelGrid(width, height, StrideFor(width)), owner_(owner) {}
    virtual ~IndexedBitmap();

    // In 64 bits: a huge width, which the picture limits refuse later, must not overflow here.
    static int32_t StrideFor(int32_t width) {
        if (width <= 0) return 0;
        const int64_t padded = (int64_t{width} + 3) / 4 * 4;
        return padded > INT32_MAX ? INT32_MAX - 3 : static_cast<int32_t>(padded);
    }

    Gif* Owner() const { return owner_; }
    void SetOwner(Gif* owner) { owner_ = owner; }
    using PixelGrid::Stride;

private:
    Gif* owner_;
};

}  // namespace anitrope
