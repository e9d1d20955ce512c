#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "model/display_cache.h"
#include "model/screen_image.h"
#include "platform/job_scheduler.h"

namespace anitrope {

struct Animation;
struct Gif;

// Builds and keeps the display picture of each frame of one document: a screen-sized image
// (Animation::screenWidth x screenHeight) of what a GIF89a viewer shows while that frame is on
// screen, by the rules of frame_composition.h. Pictures live in the frames' displayBitmap,
// bounded by the compositor's DisplayCache; background compositions run on the scheduler.
//
// Threads: the frames belong to the interface thread. Before it changes a frame, the frame
// list or the document's screen, background or disposal, it suspends composition (which
// cancels the queued jobs and waits for the running ones); afterwards it invalidates what the
// change affects, resumes and restarts the jobs it wants. Everything else may be called from
// any thread.
//
// Locking: a frame's bitmapLock is held while its picture is built, replaced or dropped.
// Composing a frame may lock earlier frames' bitmapLocks, one at a time and only while its own
// is held, so locks are always taken from later frames to earlier ones. The cache's lock comes
// after any bitmapLock.
//
// While it lives the compositor is the document's (Animation::compositor), so that destroying
// a frame stops its job and forgets its picture. It must not outlive the document.
class Compositor {
public:
    // Without a scheduler nothing runs in the background.
    Compositor(Animation& animation, JobScheduler* scheduler,
               std::size_t cacheBytes = kDefaultDisplayCacheBytes);
    // Stops every job and drops every picture.
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // The frame's display picture, composed now unless it is cached; waits for a composition
    // of the frame that is running. Composes even while composition is suspended. Null when
    // the frame has no indexed pixels and no true colour. A cached picture of another size
    // than the screen is stale and composed again, so resizing the screen needs no
    // invalidation.
    std::shared_ptr<const ScreenImage> GetDisplayBitmap(Gif& gif);

    // Composes and keeps the frame's picture if it is missing. Does nothing while suspended.
    void ComposeFrame(Gif& gif);

    // Waits for a running composition of the frame and drops its picture. Returns 1 when
    // there was none, else 0.
    int DropDisplayBitmap(Gif& gif);

    // The frame changed: drops its picture and those of the following frames that show it.
    // A following frame shows it unless the frame covers the screen opaquely; the walk ends
    // at the first frame that covers the screen opaquely and does not restore to previous
    // (after one that does, the screen before it returns, which still shows the change).
    void InvalidateFrom(Gif& gif);

    // Suspending cancels the queued jobs and waits for the running ones; resuming lets
    // ComposeFrame work again without starting anything.
    void SuspendComposition(bool suspend);
    bool CompositionSuspended() const { return suspended_.load(); }

    // After frames are loaded: composes `first` now and queues jobs for the count - 1 frames
    // after it, in order. A frame whose job is queued or running keeps it. Without a scheduler
    // the others are composed when asked for.
    void StartCompositions(Gif* first, std::size_t count);

    // Queues a job composing the frame, unless one is queued or running or composition is
    // suspended. Any thread may call it, as a reduction worker does once it published a frame.
    void QueueComposition(Gif& gif);

    // Returns when the jobs for the document's frames have run (here, when no pool thread
    // took them yet).
    void WaitForCompositions();

    // The frame is being destroyed: cancels or waits for its job and drops its picture.
    void ForgetFrame(Gif& gif);

    DisplayCache& Cache() { return cache_; }

private:
    std::shared_ptr<const ScreenImage> Compose(Gif& gif);
    // Canvas k for frame k, whose bitmapLock the caller holds.
    ScreenImage CanvasBefore(Gif& gif);
    // Canvas `to` from canvas `from`.
    ScreenImage Replay(Gif* from, Gif& to, ScreenImage canvas);
    // The frame's cached picture when it fits the screen, else null.
    std::shared_ptr<const ScreenImage> CachedScreen(Gif& gif);
    void QueueLocked(Gif& gif);  // jobsLock_ held
    bool FitsScreen(const ScreenImage& picture) const;
    void StopJob(const JobHandle& job);
    bool IsPending(const JobHandle& job) const;

    Animation& animation_;
    JobScheduler* scheduler_;
    DisplayCache cache_;
    std::atomic<bool> suspended_{false};
    std::mutex jobsLock_;
    std::unordered_map<Gif*, JobHandle> jobs_;  // guarded by jobsLock_
};

}  // namespace anitrope
