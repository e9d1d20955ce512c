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
#include "quantize/reduction_method.h"

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
// With "High Quality", a frame may take over its predecessor's palette (see
// ReducePerceptual): the palette of a predecessor reduced already, or, while the predecessor's
// own reduction is queued or running, the palette that reduction chooses; once its own palette
// is chosen the frame waits for that. Either way the palette is the same, so the result does
// not depend on timing. The waits only ever go to earlier frames, and a queued one runs on the
// waiting thread, so they cannot close a circle; a frame waits for the earliest unfinished
// reduction of its chain first, so such runs never nest more than one deep. The same holds
// for the frames of one ReduceNow call.
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

    // "Color Reduction" and "Dither", for the reductions started from now on.
    void SetOptions(const ReductionOptions& options);
    ReductionOptions Options() const;

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
    struct PaletteLink;

    // `previous`: what the frame before passes on, whose palette it may take over; null for
    // none.
    std::shared_ptr<Job> NewJob(Gif& gif, std::shared_ptr<PaletteLink> previous);
    // What `gif`'s palette passes on to the frame after it (owner's thread): its reduction's
    // when one is booked, else its own palette when it is shaped as a reduction leaves it.
    std::shared_ptr<PaletteLink> LinkAfter(const Gif* gif) const;  // lock_ held
    void Submit(const std::shared_ptr<Job>& job, JobPriority priority);
    void Run(Job& job);
    // Reduces the job's source by its options and keeps the palette for the reduction after
    // it.
    std::optional<ReductionResult> ReduceJob(Job& job, const std::atomic<bool>* abort);
    // Waits for the predecessor's reduction (a queued one runs here) and offers its palette;
    // null when it found none.
    const SharedPalette* PaletteBefore(const PaletteLink& link);
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
    std::atomic<int32_t> method_{static_cast<int32_t>(ReductionMethod::Popularity)};
    std::atomic<bool> dither_{false};
    std::function<void()> resultReady_;
    std::function<void(const Gif&, Step)> observer_;

    mutable std::mutex lock_;  // taken before the scheduler's, never while waiting for a job
    std::map<Ticket, std::shared_ptr<Job>> jobs_;  // started and not yet applied, in order
    std::unordered_map<const Gif*, Ticket> tickets_;  // the job of each frame in jobs_
    std::vector<std::shared_ptr<Job>> orphans_;     // dropped while running: waited for at the end
    Ticket nextTicket_ = 0;
};

}  // namespace anitrope
