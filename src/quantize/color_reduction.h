#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "model/reduction_workers.h"
#include "platform/job_scheduler.h"
#include "quantize/choose_palette.h"

namespace anitrope {

class Document;
class StatusDisplay;

// The colour-reduction workers: each reduction (ReduceTrueColor) runs as a job on the
// scheduler, on a reference to the frame's true colour, never on the frame. The results go to
// the document's owner, who applies them (Document::Update), tells the status display, and
// drops a result whose frame meanwhile got other pixels or went away.
//
// Order: a frame whose predecessor still awaits its reduction is queued behind the frames
// whose predecessors are done, so frames are reduced roughly in list order. A frame someone
// waits for runs at once, on the waiting thread if no pool thread took it yet, and the frames
// started after it follow it at the front of the queue, so a waiter walking the list finds
// each next frame already under way.
//
// It must outlive nothing it reduces for: destroying it stops every reduction and detaches it
// from its document.
class ColorReduction final : public ReductionWorkers, public FrameReducer {
public:
    // Without a scheduler each reduction runs at once on the thread that starts it; its result
    // still waits to be applied.
    explicit ColorReduction(JobScheduler* scheduler, StatusDisplay* status = nullptr);
    ~ColorReduction() override;
    ColorReduction(const ColorReduction&) = delete;
    ColorReduction& operator=(const ColorReduction&) = delete;

    // Becomes the document's workers (Document::SetWorkers); null detaches.
    void Attach(Document* document);

    bool Start(Gif& gif) override;
    void Wait(Gif& gif) override;
    void WaitForAll() override;
    void ApplyFinished() override;
    bool Busy(const Gif& gif) const override;
    void Forget(const Gif& gif) override;
    bool KeepsTrueColor() const override { return keepTrueColor_.load(); }

    void ReduceNow(std::span<Gif* const> frames) override;

    // "Keep TrueColorInfo".
    void SetKeepTrueColor(bool keep) { keepTrueColor_ = keep; }

    // Called on a worker's thread each time a result is ready: the owner's thread should call
    // ApplyFinished soon.
    void SetResultReady(std::function<void()> ready);

    enum class Step { Started, Applied };
    // Told on the worker's thread as a reduction starts, on the owner's once its result is
    // applied. Set it before starting reductions.
    void SetObserver(std::function<void(const Gif&, Step)> observer);

private:
    using Ticket = uint64_t;
    struct Job;

    std::shared_ptr<Job> NewJob(Gif& gif);
    void Submit(const std::shared_ptr<Job>& job, JobPriority priority);
    void Run(Job& job);
    // Takes the job out (lock_ held) and applies or drops its result on this thread.
    void Apply(const std::shared_ptr<Job>& job);
    std::shared_ptr<Job> Find(const Gif& gif) const;  // lock_ held
    // Takes the job out of the books (lock_ held); false when it was not in them.
    bool Unbook(const Job& job);
    void Drop(const std::shared_ptr<Job>& job);       // lock_ held: out of the books, stopped
    void Report(int notification);

    JobScheduler* scheduler_;
    StatusDisplay* status_;
    Document* document_ = nullptr;
    std::atomic<bool> keepTrueColor_{true};
    std::function<void()> resultReady_;
    std::function<void(const Gif&, Step)> observer_;

    mutable std::mutex lock_;  // taken before the scheduler's, never while waiting for a job
    std::map<Ticket, std::shared_ptr<Job>> jobs_;  // started and not yet applied, in order
    std::unordered_map<const Gif*, Ticket> tickets_;  // the job of each frame in jobs_
    std::vector<std::shared_ptr<Job>> orphans_;     // dropped while running: waited for at the end
    Ticket nextTicket_ = 0;
};

}  // namespace anitrope
