#pragma once

#include <cstdint>

#include "formats/icon_image.h"
#include "formats/rgba_picture.h"

namespace anitrope {

// The neutral screen colour cursors are shown over: light grey on every channel.
inline constexpr uint8_t kCursorBackdrop = 192;

// The image as a cursor shows on a light grey screen, fully opaque. Masked images combine
// per channel as (grey AND mask) XOR colour: mask bit 0 shows the colour, mask bit 1 shows
// the grey inverted by the colour (black leaves it grey). Alpha images are blended over the
// grey instead, rounded to nearest.
RgbaPicture DrawOverGrey(const IconImage& image);

// The picture at the top-left corner of a width x height grey canvas, cropped where it is
// larger and padded with grey where it is smaller.
RgbaPicture FitToCanvas(const RgbaPicture& picture, int32_t width, int32_t height);

}  // namespace anitrope
