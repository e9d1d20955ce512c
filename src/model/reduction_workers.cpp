#include "model/reduction_workers.h"

#include "model/animation.h"
#include "model/gif.h"
#include "model/status_display.h"

namespace anitrope {
namespace {

ReductionWorkers* WorkersOf(const Gif& gif) {
    return gif.animation ? gif.animation->reduction : nullptr;
}

}  // namespace

void StartReduction(Gif& gif) {
    if (ReductionWorkers* workers = WorkersOf(gif)) workers->Start(gif);
}

int StartReductions(Gif* first, std::size_t count) {
    if (!first) return 0;
    if (StatusDisplay* status = first->animation ? first->animation->status : nullptr)
        status->ReportStatus(StatusWorkAnnounced, StatusReduction, static_cast<int>(count));
    Gif* gif = first;
    for (std::size_t i = 0; i < count && gif; ++i, gif = gif->next) StartReduction(*gif);
    return 1;
}

Gif* FinishFrames(Gif* chain, bool leavePending) {
    if (!chain || leavePending) return chain;
    std::size_t count = 0;
    for (Gif* gif = chain; gif; gif = gif->next) ++count;
    StartReductions(chain, count);
    return chain;
}

bool StopReduction(Gif& gif) {
    ReductionWorkers* workers = WorkersOf(gif);
    return workers && workers->Stop(gif);
}

bool KeepsTrueColor(const Gif& gif) {
    ReductionWorkers* workers = WorkersOf(gif);
    return !workers || workers->KeepsTrueColor();
}

void WaitForReduction(Gif& gif) {
    if (ReductionWorkers* workers = WorkersOf(gif)) {
        workers->Wait(gif);
        return;
    }
    std::unique_lock lock(gif.stateLock);
    gif.stateChanged.wait(lock, [&] { return gif.reductionFinished != 0; });
}

}  // namespace anitrope
