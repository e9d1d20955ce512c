#include "model/gif.h"

#include "model/animation.h"
#include "model/compositor.h"
#include "model/reduction_workers.h"
#include "model/status_display.h"

namespace anitrope {

const char* DisposalName(uint32_t disposal) {
    switch (disposal) {
        case DisposalNotSpecified: return "Not specified";
        case DisposalDoNotDispose: return "Do Not Dispose";
        case DisposalRestoreBackground: return "Restore Backgr Color";
        case DisposalRestorePrevious: return "Restore to Previous";
        default: return "Reserved";
    }
}

Gif::~Gif() = default;

const Palette& Gif::EffectivePalette() const {
    return usesLocalPalette || !animation ? palette : animation->globalPalette;
}

void SetIndexedReady(Gif& gif, int32_t value) {
    {
        std::lock_guard lock(gif.stateLock);
        gif.indexedReady = value;
        // Clearing also drops a pending signal, so no waiter can wake on a stale one.
        gif.readySignaled = value != 0;
    }
    if (value) gif.stateChanged.notify_all();
}

int32_t IsIndexedReady(Gif& gif) {
    std::lock_guard lock(gif.stateLock);
    return gif.indexedReady;
}

void WaitReadyEvent(Gif& gif) {
    std::unique_lock lock(gif.stateLock);
    gif.stateChanged.wait(lock, [&] { return gif.readySignaled; });
    gif.readySignaled = false;
}

void SetReductionFinished(Gif& gif, int32_t value) {
    {
        std::lock_guard lock(gif.stateLock);
        gif.reductionFinished = value;
    }
    if (value) gif.stateChanged.notify_all();
}

Gif* CreateGif(Animation& animation, Gif* prev, Gif* next) {
    Gif* gif = new Gif(&animation);
    gif->prev = prev;
    gif->next = next;
    gif->delay = prev ? prev->delay : animation.animationDelay;
    // A pending predecessor's reduction writes its flag meanwhile, and gives it a palette of
    // its own: only a finished frame is asked.
    gif->usesLocalPalette = prev && IsIndexedReady(*prev) ? prev->usesLocalPalette : 1;
    return gif;
}

void DestroyGif(Gif& gif) {
    // A running worker is asked to stop and waited for; it must not publish into freed data,
    // nor queue a composition after the compositor forgot the frame.
    gif.abortReduction = 1;
    if (!StopReduction(gif)) WaitForReduction(gif);
    // Its composition job must not run on, nor its cached picture outlive the record.
    if (gif.animation && gif.animation->compositor) gif.animation->compositor->ForgetFrame(gif);
    gif.alive = 0;
    if (gif.prev) gif.prev->next = gif.next;
    if (gif.next) gif.next->prev = gif.prev;
    if (Animation* doc = gif.animation) {
        // Keep the document's own pointers valid when its first or selected frame goes.
        if (doc->head == &gif) doc->head = gif.next;
        if (doc->current == &gif) doc->current = nullptr;
    }
    gif.prev = gif.next = nullptr;

    StatusDisplay* status = gif.animation ? gif.animation->status : nullptr;
    if (status && !status->ShuttingDown() && !IsIndexedReady(gif))
        status->ReportStatus(StatusPendingDropped);

    gif.indexed.reset();
    gif.comments.Clear();
    {
        std::lock_guard lock(gif.bitmapLock);
        gif.displayBitmap.reset();
    }
    gif.trueColor.reset();
}

void DiscardGif(Gif* gif) {
    if (!gif) return;
    DestroyGif(*gif);
    delete gif;
}

Gif* ReverseGifList(Gif* any) {
    if (!any) return nullptr;
    Gif* last = any;
    while (last->next) last = last->next;
    for (Gif* g = last; g;) {
        Gif* older = g->prev;
        std::swap(g->next, g->prev);
        g = older;
    }
    return last;
}

}  // namespace anitrope
