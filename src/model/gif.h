#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "model/comment_list.h"
#include "model/indexed_bitmap.h"
#include "model/palette_entry.h"
#include "model/screen_image.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

struct Animation;

// GIF89a disposal methods (section 23, packed field of the graphic control extension).
enum Disposal : uint32_t {
    DisposalNotSpecified = 0,
    DisposalDoNotDispose = 1,
    DisposalRestoreBackground = 2,
    DisposalRestorePrevious = 3,
};
// "Not specified", "Do Not Dispose", "Restore Backgr Color", "Restore to Previous"; values 4-7
// are reserved by GIF89a and named "Reserved".
const char* DisposalName(uint32_t disposal);

inline constexpr int kKeepColorSlots = 5;

// One frame. Fields are owned by the user-interface thread, except that a frame's own
// reduction worker writes its pixels, palette and transparency before it publishes them by
// setting IndexedReady; nobody else reads those until then.
struct Gif {
    explicit Gif(Animation* document) : animation(document) {}
    Gif(const Gif&) = delete;
    Gif& operator=(const Gif&) = delete;
    ~Gif();

    Animation* animation;  // the document whose global palette and delay apply

    int32_t left = 0;
    int32_t top = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::unique_ptr<IndexedBitmap> indexed;
    int32_t usesLocalPalette = 1;  // 0: the animation's global palette applies
    Palette palette = EmptyPalette();
    // What the screen shows with this frame on it (see Compositor); null when stale or
    // evicted. Guarded by bitmapLock; readers keep their own reference.
    std::shared_ptr<const ScreenImage> displayBitmap;
    int32_t delay = 0;                           // 1/100 s
    uint32_t disposal = DisposalNotSpecified;
    int32_t transparentIndex = 0;
    int32_t transparent = 0;
    uint32_t interlaced = 0;   // as read; never written
    uint8_t bitsPerPixel = 8;  // colour-table bits while reading, 8 afterwards
    std::string name;          // source path or a generated label
    Gif* next = nullptr;
    Gif* prev = nullptr;
    std::unique_ptr<TrueColorBitmap> trueColor;  // present while reduction is pending
    std::atomic<int32_t> abortReduction{0};
    int32_t hasTransparentPixels = 1;  // 1: frames after it show what lies beneath it
    std::mutex bitmapLock;
    CommentList comments;
    uint32_t alive = 1;                // cleared by DestroyGif
    std::array<int32_t, kKeepColorSlots> keepColors{-1, -1, -1, -1, -1};  // 0x00RRGGBB, -1 empty

    // The palette that applies to the indexed pixels: local or the document's global one.
    const Palette& EffectivePalette() const;

    // --- state shared with worker threads; touch only through the functions below ---
    std::mutex stateLock;
    std::condition_variable stateChanged;
    int32_t indexedReady = 1;       // 1: indexed pixels and palette are current
    bool readySignaled = false;     // the auto-reset ready event
    int32_t reductionFinished = 1;  // 1: no worker runs for this frame
};

// Stores IndexedReady under the state lock; a nonzero value signals the ready event.
void SetIndexedReady(Gif& gif, int32_t value);
int32_t IsIndexedReady(Gif& gif);

// Waits on the auto-reset ready event and consumes its signal.
void WaitReadyEvent(Gif& gif);

// Marks whether a worker runs for the frame; waiters of WaitForReduction wake when it ends.
void SetReductionFinished(Gif& gif, int32_t value);

// Blocks until no colour-reduction worker runs for the frame: through the document's
// workers when it has them (which lets a queued reduction jump ahead), else on the frame's
// finished flag. Returns at once for frames that never had a worker.
void WaitForReduction(Gif& gif);

// A new frame with the defaults of a fresh record: delay from the document (or from prev),
// local-palette flag from prev (1 while prev awaits its reduction). Links only its own prev
// and next; the caller patches the neighbours. The caller owns the result until it links it
// into the document.
Gif* CreateGif(Animation& animation, Gif* prev, Gif* next);

// Unlinks the frame from its neighbours, stops its worker and compositor and frees its
// buffers and comments. The record itself stays for the caller to delete.
void DestroyGif(Gif& gif);

// DestroyGif, then frees the record.
void DiscardGif(Gif* gif);

// Copies geometry, timing, transparency, pixels, palette and KeepColors of source into
// target; true-colour pixels only when asked and present (the target then awaits reduction).
// Disposal, local-palette flag and comments stay the target's. Returns 0, -1 for a null
// target, 5 when memory runs out (the target keeps what was allocated).
int DuplicateGif(Gif& source, Gif* target, bool withTrueColor);

// Reverses the chain that contains `any` in place and returns its new head (the old last).
Gif* ReverseGifList(Gif* any);

// The colour the frames before `gif` show at screen point (x, y), as a ColorRef, or -1 when
// no earlier frame covers it. Earlier disposals are not applied here.
ColorRef ColorBelow(Gif& gif, int64_t x, int64_t y);

}  // namespace anitrope
