#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "model/indexed_bitmap.h"
#include "model/palette_entry.h"

namespace anitrope {

struct Gif;

// A frame's true colour reduced to 8 bits: what ApplyReduction puts into the frame.
struct ReductionResult {
    Palette palette = EmptyPalette();
    std::shared_ptr<IndexedBitmap> indexed;
    int32_t transparent = 1;
    int32_t transparentIndex = 0;
    int32_t hasTransparentPixels = 0;
};

// The frame takes the result as its pixels, local palette and transparency and becomes
// IndexedReady; its true colour goes unless `keepTrueColor` ("Keep TrueColorInfo").
void ApplyReduction(Gif& gif, ReductionResult result, bool keepTrueColor);

// True for a frame whose true colour is its picture until a reduction replaces its indexed
// pixels.
bool AwaitsReduction(const Gif& gif);

// Reduces frames at once, for their owner: the frames belong to nobody else meanwhile (a
// working copy, a command-line document). The quantizer implements it.
class FrameReducer {
public:
    virtual ~FrameReducer() = default;
    // Reduces every frame of `frames` that awaits its reduction, in parallel where it can,
    // and applies the results; returns when all are done.
    virtual void ReduceNow(std::span<Gif* const> frames) = 0;
};

// Reduces a document's frames in the background, so that the interface stays usable. Workers
// never touch a frame: each reduces a reference to the frame's true colour and hands the
// result to the document's owner, who applies it (Document::Update) when asked to wait or when
// told that results are ready. A result whose frame meanwhile got another true colour, or was
// forgotten, is dropped. The quantizer implements it; the Document drives it.
class ReductionWorkers {
public:
    virtual ~ReductionWorkers() = default;

    // Queues the reduction of the frame's true colour, unless one of that same true colour is
    // queued or running. True when a new one was queued.
    virtual bool Start(Gif& gif) = 0;
    // Returns once the frame's reduction ended, its result applied. A queued one runs first,
    // and the frames started after it follow at the front of the queue.
    virtual void Wait(Gif& gif) = 0;
    // Every reduction started so far, in order.
    virtual void WaitForAll() = 0;
    // Applies the results that are ready, in the order their reductions started.
    virtual void ApplyFinished() = 0;
    // A reduction is queued or running for the frame.
    virtual bool Busy(const Gif& gif) const = 0;
    // The frame is about to be freed: its reduction ends without a result.
    virtual void Forget(const Gif& gif) = 0;
    // False when reduced frames give up their true colour ("Keep TrueColorInfo" off).
    virtual bool KeepsTrueColor() const = 0;
};

}  // namespace anitrope
