#pragma once

#include <cstdint>
#include <vector>

namespace anitrope {

// An 8-bit RGBA picture, rows top first, 4 bytes a pixel (R, G, B, A): what still-picture
// readers give and writers take.
struct RgbaPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

}  // namespace anitrope
