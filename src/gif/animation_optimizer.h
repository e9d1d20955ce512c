#pragma once

#include <cstdint>
#include <memory>

#include "gif/comparison_mask.h"
#include "model/animation.h"

namespace anitrope {

class FrameReducer;
class OptimizeProgress;

// Makes the chain from `first` smaller to write, in place. With kLosslessMask this is
// OptimizeLossless, which changes nothing on screen; otherwise every frame after the first is
// cut to the rectangle in which it visibly changes the screen (CropToChanges), then has the
// pixels that repeat the screen made transparent (MarkUnchangedTransparent) and moves onto one
// shared global palette where its colours fit (SharedPalette), keeping its own palette
// otherwise. A last crop pass follows. Colours are compared under `mask` ("Gif Compression").
//
// Frames that are not transparent, except the first, are first given a transparent slot by
// reducing them again from their true colour with `reducer`, without which they keep their
// palettes and are only cut.
//
// Every frame must have its reduction done. The frames belong to the caller alone meanwhile:
// for a document others see, optimize an OptimizedCopy and apply it through an edit.
//
// Reports "Optimizing Rects", "Optimizing Palette" and "Final Run" with percentages through
// `progress` (may be null) and stops between frames once it is aborted: the frames already
// processed stay changed, the rest untouched. Returns false when aborted.
bool OptimizeAnimation(Animation& animation, Gif* first, uint32_t mask = kDefaultComparisonMask,
                       OptimizeProgress* progress = nullptr, FrameReducer* reducer = nullptr);

// The inverse preparation: every frame that does not already cover the screen opaquely becomes
// a screen-sized, fully opaque true-colour picture of what the screen shows with it (grey
// where nothing lies beneath the first frame, white beneath a later one), awaiting its
// reduction.
void UnoptimizeAnimation(Animation& animation, Gif* first);

// The same, leaving `animation` as it is: a copy of it (CopyAnimation, sharing its pixel
// buffers) is reworked and returned, frame for frame. `completed` (may be null) tells whether
// the optimization ran to its end.
std::unique_ptr<Animation> OptimizedCopy(const Animation& animation, uint32_t mask,
                                         OptimizeProgress* progress, FrameReducer* reducer,
                                         bool* completed = nullptr);
std::unique_ptr<Animation> UnoptimizedCopy(const Animation& animation);

}  // namespace anitrope
