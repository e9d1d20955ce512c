#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace anitrope::test {

// An 8-bit RGBA picture, rows top first, no padding.
struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // 4 bytes a pixel: red, green, blue, alpha

    std::array<uint8_t, 4> At(int32_t x, int32_t y) const;
};

struct PngReadResult {
    std::optional<RgbaImage> image;
    std::string error;  // why there is no image
};

// Reads any PNG (palette, grey, 16-bit...) converted to 8-bit RGBA, for comparing a decoded
// frame with a reference picture.
PngReadResult ReadPngRgba(const std::string& path);

}  // namespace anitrope::test
