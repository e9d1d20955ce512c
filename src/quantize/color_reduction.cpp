#include "quantize/color_reduction.h"

#include <algorithm>

#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "model/status_display.h"
#include "quantize/reduce_pixels.h"

namespace anitrope {

ColorReduction::ColorReduction(Animation& animation, JobScheduler* scheduler,
                               Compositor* compositor)
    : animation_(animation), scheduler_(scheduler), compositor_(compositor) {
    animation_.reduction = this;
}

ColorReduction::~ColorReduction() {
    for (;;) {
        Gif* gif = nullptr;
        {
            std::lock_guard lock(lock_);
            if (jobs_.empty()) break;
            gif = jobs_.begin()->second.gif;
        }
        gif->abortReduction = 1;
        Stop(*gif);
    }
    if (animation_.reduction == this) animation_.reduction = nullptr;
}

void ColorReduction::SetObserver(std::function<void(Gif&, Step)> observer) {
    observer_ = std::move(observer);
}

void ColorReduction::Start(Gif& gif) {
    if (!gif.trueColor) return;
    Stop(gif);
    gif.abortReduction = 0;
    SetReductionFinished(gif, 0);
    if (!scheduler_) {
        Reduce(gif, 0);
        return;
    }
    // Behind the frames whose predecessors are done, so that the list is worked off in order.
    const JobPriority priority = !gif.prev || IsIndexedReady(*gif.prev) ? JobPriority::Normal
                                                                        : JobPriority::Background;
    std::lock_guard lock(lock_);
    const Ticket ticket = ++nextTicket_;
    Job& job = jobs_[ticket];
    job.gif = &gif;
    // The job cannot finish (which takes lock_) before its handle is stored.
    job.handle = scheduler_->Submit([this, &gif, ticket] { Reduce(gif, ticket); }, priority);
}

void ColorReduction::Reduce(Gif& gif, Ticket ticket) {
    if (observer_) observer_(gif, Step::Started);
    bool reduced = false;
    try {
        reduced = gif.trueColor && ReducePixels(gif);
    } catch (const std::bad_alloc&) {
        // The frame stays pending; a later reduction or MakeTrueColor tries again.
    }
    if (reduced) Publish(gif);
    SetReductionFinished(gif, 1);
    if (scheduler_) Finish(ticket);
}

void ColorReduction::Publish(Gif& gif) {
    const bool composing = !compositor_ || !compositor_->CompositionSuspended();
    // Counted even while composition is suspended (as it is while frames are optimized), or
    // the announced reductions would never all be done.
    StatusDisplay* status = animation_.status;
    if (status && !status->ShuttingDown()) status->ReportStatus(StatusFrameReduced);
    SetIndexedReady(gif, 1);
    if (observer_) observer_(gif, Step::Published);
    if (!KeepsTrueColor()) {
        // Readers of a pending frame's true colour hold the state lock while they use it.
        std::lock_guard lock(gif.stateLock);
        gif.trueColor.reset();
    }
    if (compositor_) {
        compositor_->DropDisplayBitmap(gif);
        if (composing) compositor_->QueueComposition(gif);
    }
}

void ColorReduction::Finish(Ticket ticket) {
    std::lock_guard lock(lock_);
    auto ended = jobs_.find(ticket);
    if (ended == jobs_.end()) return;
    const bool urgent = ended->second.urgent;
    auto successor = jobs_.erase(ended);
    if (!urgent || successor == jobs_.end()) return;
    successor->second.urgent = true;
    scheduler_->Prioritize(successor->second.handle);  // false when already running
}

JobHandle ColorReduction::Find(const Gif& gif, bool markUrgent) {
    std::lock_guard lock(lock_);
    auto found = std::find_if(jobs_.begin(), jobs_.end(),
                              [&](const auto& entry) { return entry.second.gif == &gif; });
    if (found == jobs_.end()) return {};
    if (markUrgent) found->second.urgent = true;
    return found->second.handle;
}

void ColorReduction::Wait(Gif& gif) {
    const JobHandle job = Find(gif, true);
    if (!job) return;
    // Quiet while we wait: a worker's report must not wait for a display we are blocking.
    StatusDisplay* status = animation_.status;
    if (status) status->BeginWait();
    scheduler_->Wait(job);
    if (status) status->EndWait();
}

bool ColorReduction::Stop(Gif& gif) {
    const JobHandle job = Find(gif, false);
    if (!job) return false;
    gif.abortReduction = 1;
    gif.abortReduction.notify_all();
    if (scheduler_->Cancel(job)) {
        {
            std::lock_guard lock(lock_);
            std::erase_if(jobs_, [&](const auto& entry) { return entry.second.gif == &gif; });
        }
        SetReductionFinished(gif, 1);
        return !IsIndexedReady(gif);
    }
    scheduler_->Wait(job);
    return !IsIndexedReady(gif);
}

void ColorReduction::WaitForAll() {
    for (;;) {
        Gif* gif = nullptr;
        {
            std::lock_guard lock(lock_);
            if (jobs_.empty()) return;
            gif = jobs_.begin()->second.gif;
        }
        Wait(*gif);
    }
}

}  // namespace anitrope
