// Feeds arbitrary bytes to the BMP reader. Besides the sanitizers' findings, a picture whose
// pixel block does not match its size, or that breaks the picture limits, aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/bmp_reader.h"
#include "model/picture_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto result = anitrope::DecodeBmp(std::span<const uint8_t>(data, size));
    if (!result.picture) {
        if (result.error.empty()) std::abort();
        return 0;
    }
    const auto& p = *result.picture;
    if (p.width <= 0 || p.height <= 0 || !anitrope::PictureSizeAllowed(p.width, p.height) ||
        p.pixels.size() != static_cast<std::size_t>(p.width) * p.height * 4)
        std::abort();
    return 0;
}
