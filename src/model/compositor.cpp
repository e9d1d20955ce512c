#include "model/compositor.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "model/animation.h"
#include "model/frame_composition.h"

namespace anitrope {
namespace {

// Holds a document's lock shared if it can; always succeeds without a lock.
class SharedRead {
public:
    explicit SharedRead(DocumentLock* lock) : lock_(lock), held_(!lock || lock->TryLockShared()) {}
    ~SharedRead() {
        if (lock_ && held_) lock_->UnlockShared();
    }
    SharedRead(const SharedRead&) = delete;
    SharedRead& operator=(const SharedRead&) = delete;
    bool Held() const { return held_; }

private:
    DocumentLock* lock_;
    bool held_;
};

}  // namespace

void MarkPictureChanged(Animation& animation, Gif& gif) {
    gif.pictureStamp = ++animation.version;
}

void MarkAllPicturesChanged(Animation& animation) {
    animation.pictureStamp = ++animation.version;
}

Compositor::Compositor(const Animation& animation, JobScheduler* scheduler, DocumentLock* lock,
                       std::size_t cacheBytes)
    : animation_(animation), scheduler_(scheduler), lock_(lock), cache_(cacheBytes) {}

Compositor::~Compositor() {
    std::unordered_map<const Gif*, JobHandle> jobs;
    {
        std::lock_guard lock(jobsLock_);
        jobs.swap(jobs_);
    }
    for (const auto& [gif, job] : jobs)
        if (job && !scheduler_->Cancel(job)) scheduler_->Wait(job);
}

void Compositor::RefreshDependencies() {
    // One pass down the list: what the canvas before each frame depends on, and from it what
    // the frame's picture does.
    const uint64_t globals = animation_.pictureStamp;
    dependencies_.clear();
    uint64_t canvas = globals;
    for (const Gif* gif = animation_.head; gif; gif = gif->next) {
        const uint64_t own = gif->pictureStamp;
        // The first canvas is cut around the first frame; a later one arrives through the link
        // from the frame before.
        canvas = gif == animation_.head ? std::max({globals, own, gif->linkStamp})
                                        : std::max(canvas, gif->linkStamp);
        const bool opaque = CoversScreenOpaquely(animation_, *gif);
        const uint64_t picture = opaque ? std::max(globals, own) : std::max(canvas, own);
        dependencies_[gif] = picture;
        // The next canvas is this picture, or this picture cleared where the frame lies (which,
        // for a frame covering the screen, leaves nothing of the frames before it); restoring
        // to previous passes the canvas on.
        if (DisposalInForce(animation_, *gif) != DisposalRestorePrevious) canvas = picture;
    }
    dependenciesVersion_ = animation_.version;
}

uint64_t Compositor::DependencyStamp(const Gif& gif) {
    std::lock_guard lock(dependenciesLock_);
    if (dependenciesVersion_ != animation_.version) RefreshDependencies();
    const auto found = dependencies_.find(&gif);
    // A frame outside the list depends on nothing the list holds, only on itself.
    return found != dependencies_.end() ? found->second
                                        : std::max(gif.pictureStamp, animation_.pictureStamp);
}

std::shared_ptr<const ScreenImage> Compositor::CachedDisplayBitmap(const Gif& gif) {
    DisplayCache::Entry kept = cache_.Find(gif);
    if (!kept.picture) return nullptr;
    // A picture of another size was composed for a screen since resized.
    if (kept.picture->Width() != animation_.screenWidth ||
        kept.picture->Height() != animation_.screenHeight || kept.composedAt < DependencyStamp(gif))
        return nullptr;
    return kept.picture;
}

std::shared_ptr<const ScreenImage> Compositor::GetDisplayBitmap(const Gif& gif) {
    if (auto picture = CachedDisplayBitmap(gif)) return picture;
    StopJob(gif);  // a queued job is not needed now; a running one is waited for
    return Compose(gif);
}

void Compositor::ComposeFrame(const Gif& gif) { Compose(gif); }

std::shared_ptr<const ScreenImage> Compositor::Compose(const Gif& gif) {
    if (auto picture = CachedDisplayBitmap(gif)) return picture;
    if (!HasPicture(gif)) return nullptr;
    const uint64_t version = animation_.version;
    ScreenImage picture = CoversScreenOpaquely(animation_, gif)
                              ? ScreenImage(animation_.screenWidth, animation_.screenHeight)
                              : CanvasBefore(gif);
    DrawFrame(gif, picture);
    auto shared = std::make_shared<const ScreenImage>(std::move(picture));
    cache_.Store(gif, shared, version);
    ++compositions_;
    return shared;
}

// Walks back to the nearest frame whose next canvas is known without going further: one with
// a current picture, one that covers the screen opaquely, or the first frame. A frame that
// restores to previous passes the canvas before it on, so it is never such a start. Then
// replays forward on one canvas: a loop both ways, as chains of many thousand frames must not
// exhaust the stack.
ScreenImage Compositor::CanvasBefore(const Gif& gif) {
    const Gif* first = &gif;
    for (const Gif* earlier = gif.prev; earlier; earlier = earlier->prev) {
        first = earlier;
        if (DisposalInForce(animation_, *earlier) == DisposalRestorePrevious) continue;
        if (auto kept = CachedDisplayBitmap(*earlier)) {
            ScreenImage canvas = *kept;
            DisposeAfterDisplay(animation_, *earlier, canvas);
            return Replay(earlier->next, gif, std::move(canvas));
        }
        if (CoversScreenOpaquely(animation_, *earlier))
            return Replay(earlier, gif, ScreenImage(animation_.screenWidth, animation_.screenHeight));
    }
    return Replay(first, gif, InitialCanvas(animation_, *first));
}

ScreenImage Compositor::Replay(const Gif* from, const Gif& to, ScreenImage canvas) {
    for (const Gif* frame = from; frame && frame != &to; frame = frame->next)
        AdvancePastFrame(animation_, *frame, canvas);
    return canvas;
}

void Compositor::StartCompositions(const Gif* first, std::size_t count) {
    if (!first || count == 0) return;
    ComposeFrame(*first);
    if (!scheduler_) return;
    std::lock_guard lock(jobsLock_);
    const Gif* gif = first->next;
    for (std::size_t i = 1; i < count && gif; ++i, gif = gif->next) Queue(*gif);
}

void Compositor::QueueComposition(const Gif& gif) {
    if (!scheduler_ || CachedDisplayBitmap(gif)) return;
    std::lock_guard lock(jobsLock_);
    Queue(gif);
}

void Compositor::Queue(const Gif& gif) {
    JobHandle& job = jobs_[&gif];
    const JobStatus status = scheduler_->Status(job);
    if (job && (status == JobStatus::Queued || status == JobStatus::Running)) return;
    job = scheduler_->Submit([this, target = &gif] {
        SharedRead read(lock_);
        // A change runs: the frame is composed when asked for or queued after it.
        if (!read.Held() || !target->alive) return;
        try {
            Compose(*target);
        } catch (const std::bad_alloc&) {
            // The frame stays uncomposed; asking for it later tries again.
        }
    });
}

void Compositor::WaitForCompositions() {
    if (!scheduler_) return;
    std::vector<JobHandle> jobs;
    {
        std::lock_guard lock(jobsLock_);
        for (const auto& [gif, job] : jobs_) jobs.push_back(job);
    }
    for (const JobHandle& job : jobs) scheduler_->Wait(job);
}

void Compositor::StopJob(const Gif& gif) {
    if (!scheduler_) return;
    JobHandle job;
    {
        std::lock_guard lock(jobsLock_);
        if (auto found = jobs_.find(&gif); found != jobs_.end()) {
            job = found->second;
            jobs_.erase(found);
        }
    }
    if (job && !scheduler_->Cancel(job)) scheduler_->Wait(job);
}

void Compositor::ForgetFrame(const Gif& gif) {
    StopJob(gif);
    cache_.Forget(gif);
}

void Compositor::DocumentChanged(const DocumentChange& change) {
    // Pictures of frames that left the list are no use until they come back, stale by then.
    for (const Gif* gif : change.removed) ForgetFrame(*gif);
    if (change.cause == DocumentChange::Cause::Reset) cache_.Clear();
}

void Compositor::FramesFreed(std::span<Gif* const> frames) {
    for (const Gif* gif : frames) ForgetFrame(*gif);
}

}  // namespace anitrope
