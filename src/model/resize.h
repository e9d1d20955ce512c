#pragma once

#include <cstdint>

namespace anitrope {

struct Animation;
struct Gif;

// Scales a frame to newWidth x newHeight.
//
// Without `smooth`, nearest neighbour on the indexed pixels: palette, true colour and
// IndexedReady stay as they were.
//
// With `smooth`, resampling of the true-colour pixels: the frame is left awaiting a reduction,
// with the result as its true colour and a blank indexed bitmap. A document reduces such a
// frame when it comes in; other owners reduce it themselves (FrameReducer).
// Without `keepOrigin` the frame takes part in resizing the whole screen to
// newWidth x newHeight, so its size and position follow the screen's scale instead (a frame
// without a document has no screen and keeps its origin).
//
// Returns false, leaving the frame's size alone, when the size asked for or the one that
// follows from the screen is not positive or beyond the picture limits, when a smooth resize
// meets a frame without area, or when memory runs out (the half-scaled image of a smooth
// resize counts against the picture limits too).
bool ResizeGif(Gif& gif, int32_t newWidth, int32_t newHeight, bool smooth, bool keepOrigin);

// Scales the screen to width x height with every frame, each frame's size and position
// following the screen as a smooth ResizeGif without `keepOrigin` places them; `smooth`
// chooses how the pixels are resampled (without it each frame keeps its palette and is
// ready at once). Returns false when a frame cannot be scaled, as ResizeGif does: the
// animation is then partly scaled, so callers work on a copy.
bool ResizeAnimation(Animation& animation, int32_t width, int32_t height, bool smooth);

}  // namespace anitrope
