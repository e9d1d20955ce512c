#pragma once

#include <cstdint>

#include "model/screen_image.h"

namespace anitrope {

struct Gif;

// The colour the frames before `gif` show at screen point (x, y), as a ColorRef, or -1 when
// no earlier frame covers it. A frame awaiting its reduction answers from its true colour.
// Earlier disposals are not applied here.
ColorRef ColorBelow(const Gif& gif, int64_t x, int64_t y);

}  // namespace anitrope
