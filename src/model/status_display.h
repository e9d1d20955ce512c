#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace anitrope {

// What the status bar should show. `posted` is true when the update came through a path a
// worker may take: the view must queue it to its own thread, never block on it.
class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void ShowStatusText(const std::string& text) = 0;
    virtual void ShowProgress(int percent, bool posted) = 0;
};

// Numbered notifications by which producers report background work.
enum StatusNotification : int {
    StatusEffectLoopEnd = 0,   // nothing shown
    StatusFrameCalculated = 2, // an effect computed one frame (interface thread)
    StatusEffectEnd = 3,       // nothing shown
    StatusFrameReduced = 7,    // a reduction worker published its frame
    StatusWorkAnnounced = 8,   // kind: StatusKind; amount: frames
    StatusRefresh = 9,
    StatusFrameSaved = 10,
    StatusPendingDropped = 11, // a frame whose reduction never published was destroyed
    StatusReset = 12,          // the animation was closed
};
enum StatusKind : int { StatusReduction = 0, StatusCalculation = 1, StatusSaving = 2 };

struct StatusCounters {
    int32_t total = 0;
    int32_t done = 0;
};

// Counts background work and turns it into the status text and progress percentage.
// Safe to call from any thread; the view is called outside the lock, so a worker never waits
// on the interface. While a wait for a worker is in progress (the quiet switch) nothing is
// shown at all.
class StatusDisplay {
public:
    struct Report {
        int handled = 1;
        int percent = 0;  // the percentage computed, shown or not
    };

    Report ReportStatus(int notification, int kind = 0, int amount = 0);

    void Subscribe(StatusView* view);
    void BeginWait();  // quiet while any wait is in progress
    void EndWait();
    void SetShuttingDown(bool value);
    bool ShuttingDown() const;

    StatusCounters Counters(StatusKind kind) const;

    // Rounded done x 100 / total; 0 for no total.
    static int Percentage(int32_t done, int32_t total);

private:
    struct Update {
        bool hasText = false;
        std::string text;
        bool hasPercent = false;
        int percent = 0;
        bool posted = true;
    };
    Update Apply(int notification, int kind, int amount, int& percent);
    Update Advance(StatusCounters& pair, const char* format, bool posted, int& percent);
    Update DropPending(int& percent);
    Update Refresh(int& percent);

    mutable std::mutex lock_;
    StatusView* view_ = nullptr;
    StatusCounters calculation_;
    StatusCounters reduction_;
    StatusCounters saving_;
    int waits_ = 0;
    bool shuttingDown_ = false;
};

}  // namespace anitrope
