#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/comment_list.h"
#include "model/frame_group.h"
#include "model/indexed_bitmap.h"
#include "model/palette_entry.h"
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

// One frame: plain data, touched only by the thread that owns its document. Background work
// (colour reduction, composition) keeps its own state elsewhere, keyed by the frame, and hands
// its results to the owner.
//
// Pixel buffers are shared, not copied, between a frame, the undo history and the working
// copies of the optimizer: once a frame belongs to a document its buffers are replaced,
// never written.
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
    std::shared_ptr<IndexedBitmap> indexed;
    int32_t usesLocalPalette = 1;  // 0: the animation's global palette applies
    Palette palette = EmptyPalette();
    int32_t delay = 0;                           // 1/100 s
    uint32_t disposal = DisposalNotSpecified;
    int32_t transparentIndex = 0;
    int32_t transparent = 0;
    uint32_t interlaced = 0;   // as read; never written
    uint8_t bitsPerPixel = 8;  // colour-table bits while reading, 8 afterwards
    std::string name;          // source path or a generated label
    // The tree's label ("Gif :%s (%d/%d)", "Gif: Banner %d", ...); empty for the usual
    // "Gif :" and the file name.
    std::string label;
    Gif* next = nullptr;
    Gif* prev = nullptr;
    // Present while the frame awaits its colour reduction (IndexedReady 0), and afterwards only
    // when "Keep TrueColorInfo" is on.
    std::shared_ptr<TrueColorBitmap> trueColor;
    int32_t hasTransparentPixels = 1;  // 1: frames after it show what lies beneath it
    CommentList comments;
    uint32_t alive = 1;  // 1 while the frame is in its document's list
    // 1: the indexed pixels and the palette are current; 0: the true colour is the truth until
    // a reduction replaces them.
    int32_t indexedReady = 1;
    std::array<int32_t, kKeepColorSlots> keepColors{-1, -1, -1, -1, -1};  // 0x00RRGGBB, -1 empty
    std::shared_ptr<FrameGroup> group;  // the innermost group holding the frame; null at the top

    // Version stamps (Document versions): the last change of what the frame draws, and the
    // last change of the frame before it. Compositions compare them with their own.
    uint64_t pictureStamp = 0;
    uint64_t linkStamp = 0;
};

int32_t IsIndexedReady(const Gif& gif);
void SetIndexedReady(Gif& gif, int32_t value);

// Unlinks the frame from its neighbours and frees its buffers and comments; the record stays
// for the caller to delete. For frames of a chain that no document holds: a document frees
// its own.
void DestroyGif(Gif& gif);

// DestroyGif, then frees the record.
void DiscardGif(Gif* gif);

// Copies geometry, timing, transparency, pixels, palette and KeepColors of source into
// target; true-colour pixels when asked and present, and always for a source awaiting its
// reduction (its indexed pixels are not its picture yet), the target then awaiting one too.
// Disposal, local-palette flag and comments stay the target's. Returns 0, -1 for a null
// target, 5 when memory runs out (the target keeps what was allocated).
int DuplicateGif(const Gif& source, Gif* target, bool withTrueColor);

// Reverses the chain that contains `any` in place and returns its new head (the old last).
Gif* ReverseGifList(Gif* any);

}  // namespace anitrope
