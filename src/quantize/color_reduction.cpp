#include "quantize/color_reduction.h"

#include <new>
#include <utility>
#include <vector>

#include "model/document.h"
#include "model/gif.h"
#include "model/status_display.h"
#include "quantize/reduce_pixels.h"

namespace anitrope {

struct ColorReduction::Job {
    Gif* gif = nullptr;  // only the owner's thread follows it
    std::shared_ptr<const TrueColorBitmap> source;
    KeepColors keep{};
    ReductionOptions options;
    std::shared_ptr<PaletteLink> link;  // what it passes on to the next frame's reduction
    Ticket ticket = 0;
    JobHandle handle;
    std::atomic<bool> abort{false};
    std::optional<ReductionResult> result;  // written by the worker before `ended`
    bool ended = false;                     // lock_
    bool urgent = false;                    // lock_: someone waits for it or for one before it
};

// What one reduction hands to the next frame's: its palette and how to wait for it. `handle`
// and `previous` are set before any other thread sees the link; `palette` by the reduction
// before it ends (or at once, for a frame reduced already), and never again, while the result
// itself goes to the frame.
struct ColorReduction::PaletteLink {
    JobHandle handle;                       // empty: `palette` is final already
    std::shared_ptr<PaletteLink> previous;  // whose palette the reduction may take over
    std::optional<SharedPalette> palette;
};

namespace {

// A frame reduced already offers its palette when it is shaped as a reduction leaves it: its
// colours, then the transparent slot.
std::optional<SharedPalette> ReducedPalette(const Gif& gif) {
    if (AwaitsReduction(gif) || !gif.usesLocalPalette || !gif.transparent) return std::nullopt;
    const int colors = UsedPaletteSlots(gif.palette);
    if (gif.transparentIndex != colors || colors >= kPaletteSlots) return std::nullopt;
    return SharedPalette{gif.palette, colors};
}

std::optional<ReductionResult> Reduce(const TrueColorBitmap& source, const KeepColors& keep,
                                      const ReductionOptions& options,
                                      const std::atomic<bool>* abort,
                                      const PreviousPalette& previous) {
    try {
        return ReduceTrueColor(source, keep, options, abort, previous);
    } catch (const std::bad_alloc&) {
        // The frame keeps awaiting its reduction; starting it again tries once more.
        return std::nullopt;
    }
}

}  // namespace

ColorReduction::ColorReduction(JobScheduler* scheduler, StatusDisplay* status)
    : scheduler_(scheduler), status_(status) {}

ColorReduction::~ColorReduction() {
    Attach(nullptr);
    std::vector<std::shared_ptr<Job>> jobs;
    {
        std::lock_guard lock(lock_);
        for (auto& [ticket, job] : jobs_) {
            job->abort = true;
            jobs.push_back(job);
        }
        jobs_.clear();
        tickets_.clear();
        jobs.insert(jobs.end(), orphans_.begin(), orphans_.end());
        orphans_.clear();
    }
    // Running jobs use this object to the end.
    for (const auto& job : jobs)
        if (scheduler_ && job->handle && !scheduler_->Cancel(job->handle))
            scheduler_->Wait(job->handle);
}

void ColorReduction::Attach(Document* document) {
    if (document_ && document_->Workers() == this) document_->SetWorkers(nullptr);
    document_ = document;
    if (document_) document_->SetWorkers(this);
}

void ColorReduction::SetResultReady(std::function<void()> ready) { resultReady_ = std::move(ready); }

void ColorReduction::SetObserver(std::function<void(const Gif&, Step)> observer) {
    observer_ = std::move(observer);
}

void ColorReduction::Report(int notification) {
    if (status_ && !status_->ShuttingDown()) status_->ReportStatus(notification);
}

std::shared_ptr<ColorReduction::Job> ColorReduction::Find(const Gif& gif) const {
    const auto found = tickets_.find(&gif);
    return found == tickets_.end() ? nullptr : jobs_.at(found->second);
}

bool ColorReduction::Unbook(const Job& job) {
    if (!jobs_.erase(job.ticket)) return false;
    tickets_.erase(job.gif);
    return true;
}

void ColorReduction::Drop(const std::shared_ptr<Job>& job) {
    job->abort = true;
    Unbook(*job);
    // A running job ends on its own; it keeps using this object until then.
    if (scheduler_ && job->handle && !scheduler_->Cancel(job->handle) && !job->ended)
        orphans_.push_back(job);
    std::erase_if(orphans_, [this](const auto& orphan) {
        const JobStatus status = scheduler_->Status(orphan->handle);
        return status == JobStatus::Finished || status == JobStatus::Cancelled;
    });
}

void ColorReduction::SetOptions(const ReductionOptions& options) {
    method_ = static_cast<int32_t>(options.method);
    dither_ = options.dither;
}

ReductionOptions ColorReduction::Options() const {
    return {static_cast<ReductionMethod>(method_.load()), dither_.load()};
}

std::shared_ptr<ColorReduction::Job> ColorReduction::NewJob(
    Gif& gif, std::shared_ptr<PaletteLink> previous) {
    auto job = std::make_shared<Job>();
    job->gif = &gif;
    job->source = gif.trueColor;
    job->keep = gif.keepColors;
    job->options = Options();
    job->link = std::make_shared<PaletteLink>();
    if (job->options.method == ReductionMethod::HighQuality)
        job->link->previous = std::move(previous);
    return job;
}

std::shared_ptr<ColorReduction::PaletteLink> ColorReduction::LinkAfter(const Gif* gif) const {
    if (!gif) return nullptr;
    if (auto job = Find(*gif)) return job->link;
    std::optional<SharedPalette> palette = ReducedPalette(*gif);
    if (!palette) return nullptr;
    auto link = std::make_shared<PaletteLink>();
    link->palette = std::move(palette);
    return link;
}

std::optional<ReductionResult> ColorReduction::ReduceJob(Job& job, const std::atomic<bool>* abort) {
    PreviousPalette previous;
    if (job.link->previous) previous = [this, &job] { return PaletteBefore(*job.link); };
    std::optional<ReductionResult> result =
        Reduce(*job.source, job.keep, job.options, abort, previous);
    if (result) job.link->palette = SharedPalette{result->palette, result->transparentIndex};
    return result;
}

const SharedPalette* ColorReduction::PaletteBefore(const PaletteLink& link) {
    // The earliest unfinished reduction of the chain first: one still queued then runs here
    // and finds its own predecessor done, so that a long chain never nests.
    std::vector<const PaletteLink*> unfinished;
    for (const PaletteLink* at = link.previous.get(); scheduler_ && at && at->handle;
         at = at->previous.get()) {
        const JobStatus status = scheduler_->Status(at->handle);
        if (status == JobStatus::Finished || status == JobStatus::Cancelled) break;
        unfinished.push_back(at);
    }
    for (auto at = unfinished.rbegin(); at != unfinished.rend(); ++at)
        scheduler_->Wait((*at)->handle);
    const PaletteLink& previous = *link.previous;
    return previous.palette ? &*previous.palette : nullptr;
}

bool ColorReduction::Start(Gif& gif) {
    if (!gif.trueColor) return false;
    bool dropped = false;
    std::shared_ptr<PaletteLink> previous;
    {
        std::lock_guard lock(lock_);
        if (auto old = Find(gif)) {
            if (old->source == gif.trueColor) return false;
            Drop(old);
            dropped = true;
        }
        previous = LinkAfter(gif.prev);
    }
    if (dropped) Report(StatusPendingDropped);
    // Behind the frames whose predecessors are done, so that the list is worked off in order.
    const JobPriority priority = gif.prev && AwaitsReduction(*gif.prev) ? JobPriority::Background
                                                                        : JobPriority::Normal;
    Submit(NewJob(gif, std::move(previous)), priority);
    return true;
}

void ColorReduction::Submit(const std::shared_ptr<Job>& job, JobPriority priority) {
    {
        std::lock_guard lock(lock_);
        job->ticket = ++nextTicket_;
        jobs_[job->ticket] = job;
        tickets_[job->gif] = job->ticket;
        // The job cannot end (which takes lock_) before its handle is stored.
        if (scheduler_) {
            job->handle = scheduler_->Submit([this, job] { Run(*job); }, priority);
            job->link->handle = job->handle;
        }
    }
    if (!scheduler_) Run(*job);
}

void ColorReduction::Run(Job& job) {
    if (observer_) observer_(*job.gif, Step::Started);
    std::optional<ReductionResult> result = ReduceJob(job, &job.abort);
    {
        std::lock_guard lock(lock_);
        job.result = std::move(result);
        job.ended = true;
        if (job.urgent) {
            // The next reduction started after this one goes first now.
            for (auto at = jobs_.upper_bound(job.ticket); at != jobs_.end(); ++at) {
                if (at->second->ended) continue;
                at->second->urgent = true;
                if (scheduler_) scheduler_->Prioritize(at->second->handle);
                break;
            }
        }
    }
    if (resultReady_) resultReady_();
}

void ColorReduction::Apply(const std::shared_ptr<Job>& job) {
    Gif& gif = *job->gif;
    // Dropped when the frame meanwhile got other pixels.
    const bool current =
        job->result && gif.trueColor.get() == job->source.get() && AwaitsReduction(gif);
    if (!current) {
        Report(StatusPendingDropped);
        return;
    }
    const bool keep = KeepsTrueColor();
    auto apply = [&](Gif& frame) { ApplyReduction(frame, std::move(*job->result), keep); };
    if (document_) {
        document_->Update(gif, apply);
    } else {
        apply(gif);
    }
    Report(StatusFrameReduced);
    if (observer_) observer_(gif, Step::Applied);
}

void ColorReduction::Wait(Gif& gif) {
    std::shared_ptr<Job> job;
    {
        std::lock_guard lock(lock_);
        job = Find(gif);
        if (!job) return;
        job->urgent = true;
    }
    if (scheduler_) {
        // Quiet while we wait, as the status display asks.
        if (status_) status_->BeginWait();
        scheduler_->Wait(job->handle);
        if (status_) status_->EndWait();
    }
    {
        std::lock_guard lock(lock_);
        // Forgotten meanwhile (the frame went): nothing to apply.
        if (!Unbook(*job)) return;
    }
    Apply(job);
}

void ColorReduction::WaitForAll() {
    for (;;) {
        Gif* gif = nullptr;
        {
            std::lock_guard lock(lock_);
            if (jobs_.empty()) return;
            gif = jobs_.begin()->second->gif;
        }
        Wait(*gif);
    }
}

void ColorReduction::ApplyFinished() {
    // Inside an edit the document waits: the edit applies them as it ends.
    if (document_ && document_->Editing()) return;
    std::vector<std::shared_ptr<Job>> finished;
    {
        std::lock_guard lock(lock_);
        for (const auto& [ticket, job] : jobs_)
            if (job->ended) finished.push_back(job);
        for (const auto& job : finished) Unbook(*job);
    }
    for (const auto& job : finished) Apply(job);
}

bool ColorReduction::Busy(const Gif& gif) const {
    std::lock_guard lock(lock_);
    return Find(gif) != nullptr;
}

void ColorReduction::Forget(const Gif& gif) {
    {
        std::lock_guard lock(lock_);
        auto job = Find(gif);
        if (!job) return;
        Drop(job);
    }
    Report(StatusPendingDropped);
}

void ColorReduction::ReduceNow(std::span<Gif* const> frames) {
    // Outside the books: nobody else sees these frames, so nothing waits for or drops them.
    std::vector<std::shared_ptr<Job>> jobs;
    const Gif* last = nullptr;
    for (Gif* gif : frames) {
        if (!gif || !AwaitsReduction(*gif)) continue;
        std::shared_ptr<PaletteLink> previous;
        if (last && gif->prev == last) {
            previous = jobs.back()->link;
        } else {
            std::lock_guard lock(lock_);
            previous = LinkAfter(gif->prev);
        }
        auto job = NewJob(*gif, std::move(previous));
        last = gif;
        const auto reduce = [this, job] { job->result = ReduceJob(*job, nullptr); };
        if (scheduler_) {
            job->handle = scheduler_->Submit(reduce);
            job->link->handle = job->handle;
        } else {
            reduce();
        }
        jobs.push_back(std::move(job));
    }
    const bool keep = KeepsTrueColor();
    for (const auto& job : jobs) {
        if (scheduler_) scheduler_->Wait(job->handle);
        if (job->result) ApplyReduction(*job->gif, std::move(*job->result), keep);
    }
}

}  // namespace anitrope
