#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include "model/reduction_workers.h"
#include "platform/job_scheduler.h"

namespace anitrope {

struct Animation;
class Compositor;

// The colour-reduction workers of one document: each frame's reduction (ReducePixels) runs as
// a job on the scheduler, and when it is done the frame is published (IndexedReady), its
// display picture dropped and composed again, and the status display told.
//
// Order: a frame whose predecessor is still pending is queued behind the frames whose
// predecessors are done, so frames are reduced roughly in list order. A frame someone waits
// for runs at once, on the waiting thread if no pool thread took it yet, and the frames
// started after it follow it at the front of the queue, so a waiter walking the list (saving,
// optimizing) finds each next frame already under way.
//
// Workers touch only their own frame: never the frame list, whose links the interface thread
// may change meanwhile. "Successor" means the frame whose reduction was started next.
//
// While it lives it is the document's (Animation::reduction). It must be destroyed before the
// compositor it was given and before the document; destroying it stops every reduction.
class ColorReduction final : public ReductionWorkers {
public:
    // Without a scheduler each reduction runs at once on the thread that starts it.
    ColorReduction(Animation& animation, JobScheduler* scheduler, Compositor* compositor);
    ~ColorReduction() override;
    ColorReduction(const ColorReduction&) = delete;
    ColorReduction& operator=(const ColorReduction&) = delete;

    void Start(Gif& gif) override;
    void Wait(Gif& gif) override;
    bool Stop(Gif& gif) override;
    bool KeepsTrueColor() const override { return keepTrueColor_.load(); }

    // "Keep TrueColorInfo".
    void SetKeepTrueColor(bool keep) { keepTrueColor_ = keep; }

    // Waits for every reduction started so far, in the order they were started.
    void WaitForAll();

    enum class Step { Started, Published };
    // Called on the worker's thread as a reduction starts and right after it published its
    // frame. Set it before starting reductions.
    void SetObserver(std::function<void(Gif&, Step)> observer);

private:
    struct Job {
        Gif* gif;
        JobHandle handle;
        bool urgent = false;  // someone waits for it or for a frame started before it
    };
    using Ticket = uint64_t;

    void Reduce(Gif& gif, Ticket ticket);
    void Publish(Gif& gif);
    // Forgets the ended job; an urgent one passes its urgency to its successor.
    void Finish(Ticket ticket);
    // The frame's job, marked urgent when asked; an empty handle when it has none.
    JobHandle Find(const Gif& gif, bool markUrgent);

    Animation& animation_;
    JobScheduler* scheduler_;
    Compositor* compositor_;
    std::atomic<bool> keepTrueColor_{true};
    std::function<void(Gif&, Step)> observer_;

    std::mutex lock_;  // taken before the scheduler's, never while waiting for a job
    std::map<Ticket, Job> jobs_;  // queued and running, by start order
    Ticket nextTicket_ = 0;
};

}  // namespace anitrope
