#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <unordered_map>

#include "model/display_cache.h"
#include "model/document_change.h"
#include "model/document_lock.h"
#include "model/screen_image.h"
#include "platform/job_scheduler.h"

namespace anitrope {

struct Animation;
struct Gif;

// Builds and keeps the display picture of each frame of one document: a screen-sized image
// (Animation::screenWidth x screenHeight) of what a GIF89a viewer shows while that frame is on
// screen, by the rules of frame_composition.h. Pictures live in a DisplayCache; background
// compositions run on the scheduler.
//
// A picture is current while no stamp it depends on is newer than the version it was composed
// at: the frame's own picture stamp, the animation's, and, unless the frame covers the screen
// opaquely, those of the frames before it back to the first whose screen needs nothing
// earlier, with the links between them. So an edit makes stale exactly the pictures that
// show it, and nobody has to say which.
//
// Threads: the document's owner asks for pictures and composes on its own thread. Jobs read
// the frames only while they hold the document's lock shared; one that cannot (a change runs)
// gives up, and the frame is composed when next asked for or queued. Without a lock (a
// document nobody changes meanwhile) jobs read freely.
class Compositor final : public DocumentObserver {
public:
    // Without a scheduler nothing runs in the background.
    Compositor(const Animation& animation, JobScheduler* scheduler, DocumentLock* lock = nullptr,
               std::size_t cacheBytes = kDefaultDisplayCacheBytes);
    // Stops every job.
    ~Compositor() override;
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // The frame's display picture, composed now unless a current one is kept; a job composing
    // it is waited for. Null when the frame has no indexed pixels and no true colour. For the
    // owner's thread.
    std::shared_ptr<const ScreenImage> GetDisplayBitmap(const Gif& gif);
    // The frame's current picture if one is kept; never composes, never waits.
    std::shared_ptr<const ScreenImage> CachedDisplayBitmap(const Gif& gif);

    // Composes and keeps the frame's picture unless a current one is kept.
    void ComposeFrame(const Gif& gif);

    // Composes `first` now and queues jobs for the count - 1 frames after it, in order.
    void StartCompositions(const Gif* first, std::size_t count);
    // Queues a job composing the frame unless its picture is current or a job is queued.
    void QueueComposition(const Gif& gif);
    // Returns when the queued and running jobs have ended.
    void WaitForCompositions();

    // The frame's job is stopped and its picture dropped.
    void ForgetFrame(const Gif& gif);

    // How many pictures were composed so far, by any thread.
    std::size_t Compositions() const { return compositions_.load(); }
    DisplayCache& Cache() { return cache_; }

    void DocumentChanged(const DocumentChange& change) override;
    void FramesFreed(std::span<Gif* const> frames) override;

private:
    std::shared_ptr<const ScreenImage> Compose(const Gif& gif);
    // The newest stamp the frame's picture depends on.
    uint64_t DependencyStamp(const Gif& gif);
    void RefreshDependencies();
    ScreenImage CanvasBefore(const Gif& gif);
    ScreenImage Replay(const Gif* from, const Gif& to, ScreenImage canvas);
    void Queue(const Gif& gif);  // jobsLock_ held
    void StopJob(const Gif& gif);

    const Animation& animation_;
    JobScheduler* scheduler_;
    DocumentLock* lock_;
    DisplayCache cache_;
    std::atomic<std::size_t> compositions_{0};

    std::mutex dependenciesLock_;
    uint64_t dependenciesVersion_ = UINT64_MAX;
    std::unordered_map<const Gif*, uint64_t> dependencies_;  // guarded by dependenciesLock_

    std::mutex jobsLock_;
    std::unordered_map<const Gif*, JobHandle> jobs_;  // guarded by jobsLock_
};

// For documents changed without a Document (tests, the command-line tool): raises the
// animation's version and marks the frame's picture changed, so that compositors compose it
// and the pictures showing it again.
void MarkPictureChanged(Animation& animation, Gif& gif);
// The same for a value every picture shows, or for a change of the list.
void MarkAllPicturesChanged(Animation& animation);

}  // namespace anitrope
