#pragma once

#include <cstdint>

#include "model/screen_image.h"

namespace anitrope {

struct Gif;

// Shrinks the frame to the rectangle in which it visibly changes `before`, the screen as it is
// just before the frame (see WalkScreens). A pixel changes it when its colour differs from
// the screen's under `mask`, or when nothing was drawn beneath it yet; transparent pixels and
// pixels off the screen never do.
//
// Single stray differences are ignored: a row or column counts as changed only when more
// than width / 20 of its pixels differ, or when two differing pixels lie less than 3 apart.
// A frame without a changed row keeps its size; one with changed rows but no changed column
// keeps its width. The true-colour pixels, when present, are cut to the same rectangle.
// Returns whether the frame was cut; when memory runs out it is left as it was.
bool CropToChanges(Gif& frame, const ScreenImage& before, uint32_t mask);

// Whether a line with differences at the positions `differs` reports counts as changed.
// Exposed for its threshold rules.
template <typename Differs>
bool LineChanged(int32_t length, int32_t threshold, Differs differs) {
    int32_t count = 0;
    int32_t previous = -1;
    for (int32_t i = 0; i < length; ++i) {
        if (!differs(i)) continue;
        if (previous >= 0 && i - previous < 3) return true;
        if (++count > threshold) return true;
        previous = i;
    }
    return false;
}

}  // namespace anitrope
