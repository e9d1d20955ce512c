// Feeds arbitrary bytes to the TGA reader. Besides the sanitizers' findings, a picture whose
// pixel block does not match its size, or that is larger than the reader's 2048-pixel bound,
// aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/tga_reader.h"
#include "model/picture_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto result = anitrope::DecodeTga(std::span<const uint8_t>(data, size));
    if (!result.picture) {
        if (result.error.empty()) std::abort();
        return 0;
    }
    const auto& p = *result.picture;
    if (p.width <= 0 || p.height <= 0 || p.width > 2048 || p.height > 2048 ||
        !anitrope::PictureSizeAllowed(p.width, p.height) ||
        p.pixels.size() != static_cast<std::size_t>(p.width) * p.height * 4)
        std::abort();
    return 0;
}
