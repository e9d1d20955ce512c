// Feeds arbitrary bytes to the JPEG reader. Besides the sanitizers' findings, a picture whose
// pixel block does not match its size or that breaks the picture limits aborts, and so does a
// failure without a message.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/jpeg_reader.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto result = anitrope::DecodeJpeg(std::span<const uint8_t>(data, size));
    if (!result.picture) {
        if (result.failure == anitrope::JpegFailure::None || result.message.empty()) std::abort();
        return 0;
    }
    const auto& p = *result.picture;
    if (result.failure != anitrope::JpegFailure::None || !anitrope::fuzz::Sound(p)) std::abort();
    for (std::size_t i = 3; i < p.pixels.size(); i += 4)
        if (p.pixels[i] != 255) std::abort();
    return 0;
}
