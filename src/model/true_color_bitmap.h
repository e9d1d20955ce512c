#pragma once

#include <cstdint>

#include "model/pixel_grid.h"

namespace anitrope {

// Set on a true-colour pixel that is transparent; its colour bits are then ignored.
inline constexpr uint32_t TransparentBit = 0x1000000;

// 32-bit pixels 0x00RRGGBB (plus TransparentBit), rows top first, no padding.
class TrueColorBitmap : public PixelGrid<uint32_t> {
public:
    TrueColorBitmap(int32_t width, int32_t height) : PixelGrid(width, height, width) {}
    virtual ~TrueColorBitmap();
};

}  // namespace anitrope
