#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "model/frame_chain.h"
#include "model/palette_entry.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

class EffectProgress;
struct EffectParams;
struct Gif;

// The most memory one computation's frames may take: more is refused, not attempted, since a
// mistyped frame count must not exhaust the machine.
inline constexpr int64_t kMaxEffectBytes = int64_t{2} << 30;

// True when `frames` frames of the source's size stay within kMaxEffectBytes (true colour and
// indexed pixels together).
bool FramesFit(const Gif& source, int64_t frames);

// The frames a computation makes itself: the first half with PingPong, else all.
int32_t ComputedCount(int32_t frameCount, bool pingPong);

// A source frame's picture as computations read it, leaving the frame as it is.
struct SourcePicture {
    std::shared_ptr<const TrueColorBitmap> pixels;
    int32_t width = 0;
    int32_t height = 0;
    bool transparent = false;  // the frame's transparency flag: only then do marked pixels count

    bool Valid() const { return pixels && pixels->HasRows(); }
    bool IsTransparent(uint32_t pixel) const { return transparent && (pixel & TransparentBit); }
    const uint32_t* Row(int32_t y) const { return pixels->Row(y); }
};
SourcePicture ReadSource(const Gif& gif);

// Entry `index` of the palette that applies to the frame, as 0x00RRGGBB (black for an unused
// entry or an index outside the palette).
uint32_t PaletteColor(const Gif& gif, int32_t index);

// `count` new frames copied from `first` (or `second` when first is null), each with an empty
// true-colour picture to paint; null when MakeFrameList refuses or memory runs out.
FrameChain MakeOutputFrames(const Gif* first, const Gif* second, int32_t count);

// Paints frames 0 ... count-1 of the chain: paint(i, frame i's true colour). Frames are
// independent, so they are computed on the progress's scheduler when it has one; the progress
// hears of each in order (not while previewing). False when the progress asked to stop.
using PaintFrame = std::function<void(int32_t index, TrueColorBitmap& out)>;
bool PaintFrames(Gif* chain, int32_t count, bool preview, EffectProgress& progress,
                 const PaintFrame& paint);

// Rows [0, height) in blocks, on the scheduler's threads when given: work(firstRow, endRow).
// False when memory ran out handing rows over (or a block failed); every block handed over
// has ended either way.
bool ForRowBlocks(int32_t height, EffectProgress& progress,
                  const std::function<void(int32_t, int32_t)>& work);

// Hands every frame of the chain to colour reduction, unless `leavePending` (a preview).
FrameChain FinishFrames(FrameChain chain, bool leavePending, EffectProgress& progress);

// The whole of most computations: the computed frames made from the sources and painted, the
// PingPong half appended, the frames finished. Null when the sources are refused, memory runs
// out or the progress stops it.
FrameChain ComputeFrames(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress, const PaintFrame& paint);

}  // namespace anitrope
