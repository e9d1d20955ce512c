#pragma once

#include <memory>

namespace anitrope {

struct Animation;

// A document of its own with the same animation-wide values and a copy of every frame
// (pixels, palette, geometry, timing, disposal, transparency, comments; no true colour), so
// that it can be optimized and written while the original stays as it is. Frames still being
// reduced are waited for. Null when memory runs out.
std::unique_ptr<Animation> CopyAnimation(Animation& source);

}  // namespace anitrope
