// Feeds arbitrary bytes to the BMP reader. Besides the sanitizers' findings, a picture whose
// pixel block does not match its size, or that breaks the picture limits, aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/bmp_reader.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    anitrope::fuzz::RequireSoundOrExplained(anitrope::DecodeBmp(std::span<const uint8_t>(data, size)));
    return 0;
}
