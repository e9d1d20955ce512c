#pragma once

#include <memory>

namespace anitrope {

struct Animation;

// A document of its own with the same animation-wide values and a copy of every frame record
// (geometry, timing, disposal, transparency, palette, names, comments), whose pixel buffers are
// shared with the original's, not copied: what reworks the copy replaces buffers, it never
// writes into them. So a document can be optimized aside and written while it stays as it is.
std::unique_ptr<Animation> CopyAnimation(const Animation& source);

}  // namespace anitrope
