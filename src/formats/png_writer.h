#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/rgba_picture.h"

namespace anitrope {

// The PNG encoding of the picture, or nothing when it is empty or libpng fails.
std::optional<std::vector<uint8_t>> EncodePng(const RgbaPicture& picture);

// Encodes and replaces `path` atomically; false on any failure, the old file untouched.
bool WritePngFile(const std::string& path, const RgbaPicture& picture);

}  // namespace anitrope
