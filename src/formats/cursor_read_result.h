#pragma once

#include <string>
#include <vector>

#include "formats/rgba_picture.h"

namespace anitrope {

// The steps of a cursor as it shows on screen, or why there are none. A non-empty error
// beside some steps says why the later ones are missing.
struct CursorReadResult {
    std::vector<RgbaPicture> steps;  // one for CUR, every step for ANI; all the same size
    bool iconFound = false;          // false: the file held no readable first image
    std::string error;               // empty on success
};

}  // namespace anitrope
