#pragma once

#include <cstdint>
#include <functional>

#include "effects/effect_frames.h"

namespace anitrope {

class IndexedBitmap;

// Effects that paint palette indices rather than colours (Blind, Frame Out): their frames are
// copies of image 1 with its palette, painted row by row, and need no colour reduction.
// paint(frame, y, source row, target row) writes row y of computed frame `frame` (0-based)
// from image 1's row; rows of one frame may be painted on several threads at once.
using PaintIndexRow =
    std::function<void(int32_t frame, int32_t y, const uint8_t* source, uint8_t* target)>;

// Image 1's indices, of its size; null when it has none, belongs to no animation, or they
// await its colour reduction (they are not its picture yet).
const IndexedBitmap* PictureIndices(const Gif& first);

// The computed frames painted, the PingPong half appended. Null when image 1 has no indices
// of its size, or they await its colour reduction (they are not its picture yet), when memory
// runs out or the progress stops the run.
FrameChain ComputeIndexedFrames(const Gif& first, const EffectParams& params,
                                EffectProgress& progress, const PaintIndexRow& paint);

// A palette index as the index buffers store it: an index beyond a byte keeps its low byte.
inline uint8_t IndexByte(int32_t index) { return static_cast<uint8_t>(index & 0xFF); }

}  // namespace anitrope
