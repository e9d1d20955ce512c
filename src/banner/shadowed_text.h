#pragma once

#include <cstdint>
#include <string_view>

#include "banner/text_drawer.h"

namespace anitrope {

// Where shadowed text goes: a drawer, its bitmap and the part of it that may change. A canvas
// without drawer or bitmap takes no text.
struct TextCanvas {
    TextDrawer* drawer = nullptr;
    TrueColorBitmap* target = nullptr;
    PixelRect clip;
    FontDescription font;
};

// The spacing of the shadow's rings and of the points on a ring: the banner's coarser one
// keeps hundreds of frames quick, the About box's title is drawn once.
inline constexpr int32_t kBannerShadowStyle = 3;
inline constexpr int32_t kAboutShadowStyle = 4;
int32_t ShadowStep(int32_t style);

struct SoftShadow {
    int32_t dx = 0;  // from the text to the shadow's centre
    int32_t dy = 0;
    int32_t thickness = 0;  // radius of the outermost ring; below 0 counts as 0
    int32_t intensity = 0;  // percent of the way from background to shadow colour, 0-100
    int32_t style = kBannerShadowStyle;
};

// The shadow's innermost colour: background + intensity x (shadow - background) / 100 per
// channel (0x00RRGGBB, intensity clamped to 0-100).
uint32_t FullShadowColor(uint32_t background, uint32_t shadow, int32_t intensity);

// The colour of the ring of `radius` in a shadow `thickness` thick, from nearly the
// background outside to nearly `full` inside.
uint32_t ShadowRingColor(uint32_t background, uint32_t full, int32_t thickness, int32_t radius);

// Largest integer whose square does not exceed `value` (0 for negative values).
int32_t IntegerSquareRoot(int64_t value);

// Text at (x, y) in `textColor` over a soft shadow: rings of copies around the shadow's
// centre, outermost palest, then one copy at the centre in the full shadow colour. Nothing
// for an empty text or a canvas without drawer or bitmap.
void DrawShadowedText(TextCanvas& canvas, std::string_view text, int32_t x, int32_t y,
                      const SoftShadow& shadow, uint32_t textColor, uint32_t backgroundColor,
                      uint32_t shadowColor);

}  // namespace anitrope
