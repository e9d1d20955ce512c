#pragma once

namespace anitrope {

struct Animation;
struct Gif;
class OptimizeProgress;

enum class LosslessResult {
    Optimized,
    Aborted,  // the user gave up: nothing changed
    Kept,     // no smaller form exists within GIF's limits: nothing changed
};

// Rewrites the chain from `first` so that it shows exactly the pictures it showed before, pixel
// for pixel, in as few bytes as we can find. It works from the pictures a viewer composes, not
// from the frames as they are: each frame after the first is cut to where the screen changes,
// the frame before it gets the disposal that leaves the least to change, the pixels that stay
// the same are made transparent or kept as they are, pixel by pixel, as codes shorter (the
// choice is made while coding and checked against the plain forms), and the colours go on one
// global palette, ordered by use, wherever that codes shorter than a frame's own palette.
//
// Every frame must have its reduction done. Frames keep their delays, comments, names and
// groups. Reports "Optimizing Rects" and "Optimizing Palette" through `progress` (may be
// null), and changes nothing when it is aborted.
LosslessResult OptimizeLossless(Animation& animation, Gif* first, OptimizeProgress* progress);

}  // namespace anitrope
