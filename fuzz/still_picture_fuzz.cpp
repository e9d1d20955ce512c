// Feeds arbitrary bytes to the still-picture readers (PNG and PPM). Besides the sanitizers'
// findings, a picture whose pixel block does not match its size aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/png_reader.h"
#include "formats/ppm_reader.h"

namespace {

void Check(const anitrope::PictureReadResult& result) {
    if (!result.picture) return;
    const auto& p = *result.picture;
    if (p.width <= 0 || p.height <= 0 ||
        p.pixels.size() != static_cast<std::size_t>(p.width) * p.height * 4)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    Check(anitrope::DecodePng(bytes));
    Check(anitrope::DecodePpm(bytes));
    return 0;
}
