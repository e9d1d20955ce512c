#pragma once

#include <optional>
#include <string>

#include "formats/rgba_picture.h"

namespace anitrope {

// A decoded still picture, or why there is none.
struct PictureReadResult {
    std::optional<RgbaPicture> picture;
    std::string error;
};

}  // namespace anitrope
