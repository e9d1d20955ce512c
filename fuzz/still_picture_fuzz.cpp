// Feeds arbitrary bytes to the still-picture readers (PNG and PPM). Besides the sanitizers'
// findings, a picture whose pixel block does not match its size, or a refusal without a
// reason, aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/png_reader.h"
#include "formats/ppm_reader.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    anitrope::fuzz::RequireSoundOrExplained(anitrope::DecodePng(bytes));
    anitrope::fuzz::RequireSoundOrExplained(anitrope::DecodePpm(bytes));
    return 0;
}
