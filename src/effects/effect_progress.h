#pragma once

#include <atomic>
#include <functional>
#include <span>

namespace anitrope {

class JobScheduler;
class StatusDisplay;
struct Gif;

// What a computation reports to and asks of its caller: progress through the status display
// ("Calculating Img %d/%d"), whether to stop, where independent frames may be computed, and
// where finished frames go for their colour reduction. A preview uses one with no status.
class EffectProgress {
public:
    explicit EffectProgress(StatusDisplay* status = nullptr, JobScheduler* scheduler = nullptr)
        : status_(status), scheduler_(scheduler) {}
    EffectProgress(const EffectProgress&) = delete;
    EffectProgress& operator=(const EffectProgress&) = delete;

    // The frames a computation is about to make.
    void Announce(int frames);
    // One frame is done; false when the computation should stop.
    bool Step();
    // The frame loop has ended.
    void End();

    // Asks the computation to stop at its next step; from any thread.
    void RequestStop() { stop_ = true; }
    bool StopRequested() const { return stop_; }

    JobScheduler* Scheduler() const { return scheduler_; }

    // Given finished frames that await their colour reduction (see FinishFrames). Unset, they
    // stay pending for their next owner: a Document reduces the frames it takes in.
    std::function<void(std::span<Gif* const>)> reduce;
    // Called after every step on the caller's thread (the editor repaints its status bar).
    std::function<void()> stepped;

private:
    StatusDisplay* status_;
    JobScheduler* scheduler_;
    std::atomic<bool> stop_{false};
};

}  // namespace anitrope
