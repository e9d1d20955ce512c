#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "formats/jpeg_failure.h"
#include "formats/rgba_picture.h"

namespace anitrope {

struct JpegReadResult {
    std::optional<RgbaPicture> picture;  // alpha 255
    JpegFailure failure = JpegFailure::None;
    // libjpeg's own message when it gave up, ours for what we refuse (sizes beyond the
    // picture limits, colour models other than grey and RGB, endless progressions).
    std::string message;
};

// Decodes a grey or colour JPEG to RGBA. A truncated file still gives a picture (libjpeg
// warns and fills the missing part); anything libjpeg cannot make sense of is Fatal.
JpegReadResult DecodeJpeg(std::span<const uint8_t> bytes);
JpegReadResult ReadJpegFile(const std::string& path);

}  // namespace anitrope
