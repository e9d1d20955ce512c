#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace anitrope {

// An 8-bit RGBA picture, rows top first, 4 bytes a pixel (R, G, B, A).
struct RgbaPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// The PNG encoding of the picture, or nothing when it is empty or libpng fails.
std::optional<std::vector<uint8_t>> EncodePng(const RgbaPicture& picture);

// Encodes and replaces `path` atomically; false on any failure, the old file untouched.
bool WritePngFile(const std::string& path, const RgbaPicture& picture);

}  // namespace anitrope
