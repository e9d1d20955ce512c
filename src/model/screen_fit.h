#pragma once

#include <cstdint>
#include <span>

namespace anitrope {

struct Gif;

// Scales frames read from another file onto a screen of screenWidth x screenHeight: all of
// them by the one ratio of this screen to the extent they cover together (position and size),
// so that a file of small frames at offsets keeps its layout and its first frame fills the
// screen. Smooth resampling; each frame then awaits a reduction. A frame that cannot be scaled
// keeps its size and origin.
void ScaleFramesToScreen(std::span<Gif* const> frames, int64_t screenWidth, int64_t screenHeight);

}  // namespace anitrope
