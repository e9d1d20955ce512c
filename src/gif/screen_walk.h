#pragma once

#include <cstdint>
#include <functional>

#include "model/screen_image.h"

namespace anitrope {

struct Animation;
struct Gif;

// Visits the chain from `first` in order, handing each frame the screen as a viewer shows it
// just before the frame is drawn, earlier disposals applied. The screen moves past each frame
// after its visit, so what a visit changes in its frame is what the later frames are measured
// against: the frames as they will be written. Stops when a visit returns false; returns
// whether every frame was visited.
bool WalkScreens(const Animation& animation, Gif* first,
                 const std::function<bool(Gif& frame, const ScreenImage& before)>& visit);

// How a frame pixel of colour `rgb` at screen point (x, y) compares with the screen beneath,
// both colours AND-ed with `mask`.
enum class Beneath {
    Hidden,     // outside the screen: never shown
    Uncovered,  // nothing drawn there yet: the pixel is all a viewer shows
    Same,
    Different,
};
Beneath CompareWithScreen(uint32_t rgb, const ScreenImage& screen, int64_t x, int64_t y,
                          uint32_t mask);

// The colour a frame's indexed pixel is drawn in (see DrawIndexed).
uint32_t FramePixelRgb(const Gif& frame, int32_t x, int32_t y);

// The disposal of the frame shown before `frame`: the animation's when it applies to all,
// else the previous frame's, and the animation's before the first frame.
uint32_t DisposalBefore(const Animation& animation, const Gif& frame);

}  // namespace anitrope
