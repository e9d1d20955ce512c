// Feeds arbitrary bytes to the TGA reader. Besides the sanitizers' findings, a picture whose
// pixel block does not match its size, or that is larger than the reader's 2048-pixel bound,
// aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/tga_reader.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    anitrope::fuzz::RequireSoundOrExplained(anitrope::DecodeTga(std::span<const uint8_t>(data, size)), 2048);
    return 0;
}
