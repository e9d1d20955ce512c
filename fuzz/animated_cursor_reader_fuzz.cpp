// Feeds arbitrary bytes to the animated cursor reader. Besides the sanitizers' findings, a
// step whose pixel block does not match its size, steps of different sizes, more steps or
// pixels than the bounds allow, and a failure without a message abort.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/animated_cursor_reader.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto result = anitrope::DecodeAnimatedCursor(std::span<const uint8_t>(data, size));
    if (result.iconFound != !result.steps.empty()) std::abort();
    if (result.steps.empty()) {
        if (result.error.empty()) std::abort();
        return 0;
    }
    if (result.steps.size() > anitrope::kMaxCursorSteps) std::abort();
    const auto& first = result.steps.front();
    if (!anitrope::fuzz::Sound(first) ||
        static_cast<int64_t>(result.steps.size()) * first.width * first.height >
            anitrope::kMaxPicturePixels)
        std::abort();
    for (const auto& step : result.steps)
        if (step.width != first.width || step.height != first.height ||
            step.pixels.size() != static_cast<std::size_t>(step.width) * step.height * 4)
            std::abort();
    return 0;
}
