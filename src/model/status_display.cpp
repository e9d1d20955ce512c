#include "model/status_display.h"

#include <cmath>
#include <cstdio>

namespace anitrope {
namespace {

constexpr const char kIdle[] = "Idle";
constexpr const char kCalculating[] = "Calculating Img %d/%d";
constexpr const char kReducing[] = "Thread ColorReducing Img %d/%d";
constexpr const char kSaving[] = "Saving Img %d/%d";

std::string Format(const char* format, int32_t done, int32_t total) {
    char text[64];
    std::snprintf(text, sizeof text, format, done, total);
    return text;
}

}  // namespace

int StatusDisplay::Percentage(int32_t done, int32_t total) {
    if (total == 0) return 0;
    return static_cast<int>(std::floor(double(done) * 100.0 / double(total) + 0.5));
}

void StatusDisplay::Subscribe(StatusView* view) {
    std::lock_guard guard(lock_);
    view_ = view;
}

void StatusDisplay::BeginWait() {
    std::lock_guard guard(lock_);
    ++waits_;
}

void StatusDisplay::EndWait() {
    std::lock_guard guard(lock_);
    if (waits_ > 0) --waits_;
}

void StatusDisplay::SetShuttingDown(bool value) {
    std::lock_guard guard(lock_);
    shuttingDown_ = value;
}

bool StatusDisplay::ShuttingDown() const {
    std::lock_guard guard(lock_);
    return shuttingDown_;
}

StatusCounters StatusDisplay::Counters(StatusKind kind) const {
    std::lock_guard guard(lock_);
    switch (kind) {
        case StatusCalculation: return calculation_;
        case StatusSaving: return saving_;
        default: return reduction_;
    }
}

StatusDisplay::Update StatusDisplay::Advance(StatusCounters& pair, const char* format,
                                             bool posted, int& percent) {
    Update u;
    u.posted = posted;
    if (pair.total == 0) {
        u.hasText = true;
        u.text = kIdle;
        return u;
    }
    ++pair.done;
    if (pair.done < pair.total) {
        percent = Percentage(pair.done, pair.total);
        u.hasText = u.hasPercent = true;
        u.text = Format(format, pair.done, pair.total);
        u.percent = percent;
        return u;
    }
    const int32_t total = pair.total;
    pair = {};
    if (total == 1) return u;  // a single frame never showed a count: nothing to take back
    u.hasText = u.hasPercent = true;
    u.text = kIdle;
    return u;
}

StatusDisplay::Update StatusDisplay::DropPending(int& percent) {
    Update u;
    u.hasText = true;
    u.text = kIdle;
    if (reduction_.total > 0) --reduction_.total;
    if (reduction_.total > 1 && reduction_.done < reduction_.total) {
        if (reduction_.done == 0) reduction_.done = 1;
        percent = Percentage(reduction_.done, reduction_.total);
        u.text = Format(kReducing, reduction_.done, reduction_.total);
        u.hasPercent = true;
        u.percent = percent;
        return u;
    }
    // The remaining work is done (or was only one frame): start counting afresh, so that a
    // stale pair does not skew the next announcement.
    u.hasPercent = reduction_.total <= 1;
    if (reduction_.done >= reduction_.total) reduction_ = {};
    return u;
}

StatusDisplay::Update StatusDisplay::Refresh(int& percent) {
    Update u;
    u.hasText = u.hasPercent = true;
    const StatusCounters* pair = calculation_.total ? &calculation_
                                 : reduction_.total ? &reduction_
                                                    : nullptr;
    if (!pair) {
        u.text = kIdle;
        return u;
    }
    percent = u.percent = Percentage(pair->done, pair->total);
    u.text = Format(pair == &calculation_ ? kCalculating : kReducing, pair->done, pair->total);
    return u;
}

StatusDisplay::Update StatusDisplay::Apply(int notification, int kind, int amount, int& percent) {
    switch (notification) {
        case StatusFrameCalculated: return Advance(calculation_, kCalculating, false, percent);
        case StatusFrameReduced: return Advance(reduction_, kReducing, true, percent);
        case StatusFrameSaved: return Advance(saving_, kSaving, true, percent);
        case StatusWorkAnnounced: {
            StatusCounters& pair = kind == StatusCalculation ? calculation_
                                   : kind == StatusSaving    ? saving_
                                                             : reduction_;
            pair.total += amount;
            Update u;
            u.hasText = true;
            u.text = kIdle;
            return u;
        }
        case StatusRefresh: return Refresh(percent);
        case StatusPendingDropped: return DropPending(percent);
        case StatusReset: {
            calculation_ = reduction_ = saving_ = {};
            Update u;
            u.hasText = u.hasPercent = true;
            u.text = kIdle;
            return u;
        }
        default: return {};  // 0 and 3: the text stays as it is
    }
}

StatusDisplay::Report StatusDisplay::ReportStatus(int notification, int kind, int amount) {
    Report report;
    Update update;
    StatusView* view = nullptr;
    {
        std::lock_guard guard(lock_);
        update = Apply(notification, kind, amount, report.percent);
        if (waits_ == 0) view = view_;
    }
    if (view && update.hasText) view->ShowStatusText(update.text);
    if (view && update.hasPercent) view->ShowProgress(update.percent, update.posted);
    return report;
}

}  // namespace anitrope
