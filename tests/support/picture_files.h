#pragma once

// Small picture files made in the test, for code that reads them from disk.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace anitrope::test {

// The colour 0x00RRGGBB of pixel (x, y), rows top first.
using PixelAt = std::function<uint32_t(int32_t x, int32_t y)>;

// An uncompressed 24-bit bottom-up BMP file.
std::vector<uint8_t> Bmp24File(int32_t width, int32_t height, const PixelAt& pixel);
// An uncompressed 24-bit TGA file (type 2), bottom row first; `keepBytes` cuts the pixel data
// after that many bytes (the whole of it by default).
std::vector<uint8_t> Tga24File(int32_t width, int32_t height, const PixelAt& pixel,
                               std::size_t keepBytes = SIZE_MAX);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace anitrope::test
