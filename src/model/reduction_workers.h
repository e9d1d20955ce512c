#pragma once

#include <cstddef>

namespace anitrope {

struct Gif;

// Runs the colour reductions of one document's frames in the background. The document
// reaches them through Animation::reduction; the implementation lives with the quantizer,
// which the model does not know.
class ReductionWorkers {
public:
    virtual ~ReductionWorkers() = default;

    // Queues the frame's reduction from its true-colour pixels (nothing without them). A
    // reduction already queued or running for the frame is stopped first.
    virtual void Start(Gif& gif) = 0;
    // Returns once the frame's reduction has ended; a queued one runs first, and the frames
    // after it follow at the front of the queue.
    virtual void Wait(Gif& gif) = 0;
    // Asks the frame's reduction to stop and waits for it. True when one was stopped before
    // it published its palette.
    virtual bool Stop(Gif& gif) = 0;
    // False when reduced frames give up their true-colour pixels ("Keep TrueColorInfo" off).
    virtual bool KeepsTrueColor() const = 0;
};

// Starts the frame's reduction through its document's workers. Without workers the frame
// stays pending.
void StartReduction(Gif& gif);

// Announces `count` more pending reductions to the status display and starts them for the
// first `count` frames from `first`. Returns 0 for a null frame, else 1.
int StartReductions(Gif* first, std::size_t count);

// Unless `leavePending`, starts the reduction of every frame of the chain (see
// StartReductions). Returns the chain.
Gif* FinishFrames(Gif* chain, bool leavePending);

// Stops the frame's reduction (see ReductionWorkers::Stop); false without workers.
bool StopReduction(Gif& gif);

// True unless the document's workers drop true colour after reducing.
bool KeepsTrueColor(const Gif& gif);

}  // namespace anitrope
