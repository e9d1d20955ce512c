#include "model/compositor.h"

#include <new>
#include <utility>
#include <vector>

#include "model/animation.h"
#include "model/frame_composition.h"
#include "model/gif.h"

namespace anitrope {

Compositor::Compositor(Animation& animation, JobScheduler* scheduler, std::size_t cacheBytes)
    : animation_(animation), scheduler_(scheduler), cache_(cacheBytes) {
    animation_.compositor = this;
}

Compositor::~Compositor() {
    SuspendComposition(true);
    for (Gif* gif = animation_.head; gif; gif = gif->next) DropDisplayBitmap(*gif);
    if (animation_.compositor == this) animation_.compositor = nullptr;
}

std::shared_ptr<const ScreenImage> Compositor::GetDisplayBitmap(Gif& gif) { return Compose(gif); }

void Compositor::ComposeFrame(Gif& gif) {
    if (!suspended_) Compose(gif);
}

std::shared_ptr<const ScreenImage> Compositor::Compose(Gif& gif) {
    std::lock_guard lock(gif.bitmapLock);
    if (gif.displayBitmap && FitsScreen(*gif.displayBitmap)) {
        cache_.Touch(gif);
        return gif.displayBitmap;
    }
    if (gif.displayBitmap) {  // composed before the screen was resized
        gif.displayBitmap.reset();
        cache_.Forget(gif);
    }
    if (!HasPicture(gif)) return nullptr;
    ScreenImage picture = CoversScreenOpaquely(animation_, gif)
                              ? ScreenImage(animation_.screenWidth, animation_.screenHeight)
                              : CanvasBefore(gif);
    DrawFrame(gif, picture);
    auto shared = std::make_shared<const ScreenImage>(std::move(picture));
    gif.displayBitmap = shared;
    cache_.Record(gif, shared);
    return shared;
}

// Walks back to the nearest frame whose next canvas is known without going further: one with
// a cached picture, one that covers the screen opaquely, or the first frame. A frame that
// restores to previous passes the canvas before it on, so it is never such a start. Then
// replays forward on one canvas: a loop both ways, as chains of many thousand frames must not
// exhaust the stack.
ScreenImage Compositor::CanvasBefore(Gif& gif) {
    Gif* first = &gif;
    for (Gif* earlier = gif.prev; earlier; earlier = earlier->prev) {
        first = earlier;
        if (DisposalInForce(animation_, *earlier) == DisposalRestorePrevious) continue;
        if (auto cached = CachedScreen(*earlier)) {
            ScreenImage canvas = *cached;
            DisposeAfterDisplay(animation_, *earlier, canvas);
            return Replay(earlier->next, gif, std::move(canvas));
        }
        if (CoversScreenOpaquely(animation_, *earlier))
            return Replay(earlier, gif,
                          ScreenImage(animation_.screenWidth, animation_.screenHeight));
    }
    return Replay(first, gif, InitialCanvas(animation_, *first));
}

ScreenImage Compositor::Replay(Gif* from, Gif& to, ScreenImage canvas) {
    for (Gif* frame = from; frame && frame != &to; frame = frame->next)
        AdvancePastFrame(animation_, *frame, canvas);
    return canvas;
}

std::shared_ptr<const ScreenImage> Compositor::CachedScreen(Gif& gif) {
    std::lock_guard lock(gif.bitmapLock);
    if (!gif.displayBitmap || !FitsScreen(*gif.displayBitmap)) return nullptr;
    cache_.Touch(gif);
    return gif.displayBitmap;
}

// A picture of another size was composed for a screen since resized: it is stale.
bool Compositor::FitsScreen(const ScreenImage& picture) const {
    return picture.Width() == animation_.screenWidth && picture.Height() == animation_.screenHeight;
}

int Compositor::DropDisplayBitmap(Gif& gif) {
    std::lock_guard lock(gif.bitmapLock);
    if (!gif.displayBitmap) return 1;
    gif.displayBitmap.reset();
    cache_.Forget(gif);
    return 0;
}

void Compositor::InvalidateFrom(Gif& gif) {
    DropDisplayBitmap(gif);
    bool canvasShowsChange = true;
    for (Gif* later = gif.next; later && canvasShowsChange; later = later->next) {
        const bool pictureShowsChange = !CoversScreenOpaquely(animation_, *later);
        if (pictureShowsChange) DropDisplayBitmap(*later);
        if (DisposalInForce(animation_, *later) != DisposalRestorePrevious)
            canvasShowsChange = pictureShowsChange;
    }
}

void Compositor::SuspendComposition(bool suspend) {
    std::unordered_map<Gif*, JobHandle> jobs;
    {
        // Under the jobs lock, so no job is queued after the ones cancelled here.
        std::lock_guard lock(jobsLock_);
        suspended_ = suspend;
        if (suspend) jobs.swap(jobs_);
    }
    for (const auto& [gif, job] : jobs) StopJob(job);
}

bool Compositor::IsPending(const JobHandle& job) const {
    const JobStatus status = scheduler_->Status(job);
    return status == JobStatus::Queued || status == JobStatus::Running;
}

void Compositor::StartCompositions(Gif* first, std::size_t count) {
    if (!first || count == 0) return;
    ComposeFrame(*first);
    if (!scheduler_) return;
    std::lock_guard lock(jobsLock_);
    if (suspended_) return;
    std::erase_if(jobs_, [&](const auto& entry) { return !IsPending(entry.second); });
    Gif* gif = first->next;
    for (std::size_t i = 1; i < count && gif; ++i, gif = gif->next) QueueLocked(*gif);
}

void Compositor::QueueComposition(Gif& gif) {
    if (!scheduler_) return;
    std::lock_guard lock(jobsLock_);
    if (!suspended_) QueueLocked(gif);
}

void Compositor::QueueLocked(Gif& gif) {
    JobHandle& job = jobs_[&gif];
    if (IsPending(job)) return;
    job = scheduler_->Submit([this, target = &gif] {
        try {
            ComposeFrame(*target);
        } catch (const std::bad_alloc&) {
            // The frame stays uncomposed; asking for it later tries again.
        }
    });
}

// In frame order, so that each job finds the picture before its frame already composed.
void Compositor::WaitForCompositions() {
    if (!scheduler_) return;
    for (Gif* gif = animation_.head; gif; gif = gif->next) {
        JobHandle job;
        {
            std::lock_guard lock(jobsLock_);
            if (auto found = jobs_.find(gif); found != jobs_.end()) job = found->second;
        }
        scheduler_->Wait(job);
    }
}

void Compositor::ForgetFrame(Gif& gif) {
    JobHandle job;
    {
        std::lock_guard lock(jobsLock_);
        if (auto found = jobs_.find(&gif); found != jobs_.end()) {
            job = found->second;
            jobs_.erase(found);
        }
    }
    StopJob(job);
    DropDisplayBitmap(gif);
}

void Compositor::StopJob(const JobHandle& job) {
    if (job && !scheduler_->Cancel(job)) scheduler_->Wait(job);
}

}  // namespace anitrope
