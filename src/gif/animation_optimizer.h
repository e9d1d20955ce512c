#pragma once

#include <cstdint>

#include "gif/comparison_mask.h"

namespace anitrope {

struct Animation;
struct Gif;
class OptimizeProgress;

// Makes the chain from `first` smaller to write, in place: every frame after the first is
// cut to the rectangle in which it visibly changes the screen (CropToChanges), then has the
// pixels that repeat the screen made transparent (MarkUnchangedTransparent) and moves onto one
// shared global palette where its colours fit (SharedPalette), keeping its own palette
// otherwise. A last crop pass follows. Colours are compared under `mask` ("Gif Compression").
//
// Frames that are not transparent, except the first, are first given a transparent slot by
// reducing them again from their true colour; this needs the document's reduction workers
// (Animation::reduction), without which they keep their palettes and are only cut.
//
// Reports "Optimizing Rects", "Optimizing Palette" and "Final Run" with percentages through
// `progress` (may be null) and stops between frames once it is aborted: the frames already
// processed stay changed, the rest untouched. Returns false when aborted. Composition of the
// document is suspended meanwhile and its pictures are invalidated afterwards.
bool OptimizeAnimation(Animation& animation, Gif* first, uint32_t mask = kDefaultComparisonMask,
                       OptimizeProgress* progress = nullptr);

// The inverse preparation: every frame that does not already cover the screen opaquely becomes
// a screen-sized, fully opaque true-colour picture of what the screen shows with it (grey
// where nothing lies beneath the first frame, white beneath a later one), pending reduction,
// which starts at once when `reduce` is set.
void UnoptimizeAnimation(Animation& animation, Gif* first, bool reduce);

}  // namespace anitrope
