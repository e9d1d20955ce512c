#pragma once

#include <cstdint>

namespace anitrope {

// What "Resize Image(s)" is shown and what it answers.
struct ResizeRequest {
    // In: the logical screen, and whether any frame is transparent.
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    bool anyTransparent = false;
    // Out, on OK: the new screen size, and "Maintain &Transparency" (never set without a
    // transparent frame).
    int32_t width = 0;
    int32_t height = 0;
    bool keepTransparency = false;
};

}  // namespace anitrope
