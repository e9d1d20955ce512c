#include "model/frame_chain.h"

#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"
#include "model/true_color_conversion.h"

namespace anitrope {
namespace {

bool HasArea(const Gif& gif) { return gif.width > 0 && gif.height > 0; }

// A new frame linked after `tail` (if any) holding a copy of `source`; null when the copy
// fails, in which case nothing stays linked.
Gif* AppendCopy(Animation& animation, Gif* tail, const Gif& source, bool withTrueColor) {
    Gif* frame = CreateGif(animation, tail, nullptr);
    if (tail) tail->next = frame;
    if (DuplicateGif(source, frame, withTrueColor) != 0) {
        DiscardGif(frame);  // unlinks it from tail again
        return nullptr;
    }
    return frame;
}

Gif* LastOf(Gif* chain) {
    while (chain->next) chain = chain->next;
    return chain;
}

}  // namespace

Gif* MakeFrameList(Animation& animation, const Gif* a, const Gif* b, std::size_t count) {
    if ((a && a->bitsPerPixel != 8) || (b && b->bitsPerPixel != 8)) return nullptr;
    const Gif* source = a ? a : b;
    if (count == 0 || !source || !HasArea(*source)) return nullptr;

    Gif* head = nullptr;
    Gif* tail = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        tail = AppendCopy(animation, tail, *source, false);
        if (!tail) return DiscardFrames(head);
        if (!head) head = tail;
    }
    return head;
}

int PrepareFrames(Gif* a, Gif* b, Gif* chain, std::size_t count, bool pending) {
    MakeTrueColor(a, pending);
    MakeTrueColor(b, pending);
    for (Gif* frame = chain; frame && count > 0; frame = frame->next, --count)
        AllocTrueColor(*frame);
    return 1;
}

int AppendPingPong(Gif* chain, std::size_t total) {
    const std::size_t half = total / 2 + total % 2;  // (total + 1) / 2 without overflow
    if (total == half) return 1;
    if (!chain) return 0;
    Gif* tail = LastOf(chain);
    if (!tail->animation) return 0;
    // An odd total has a middle frame that appears once, so the way back starts before it.
    Gif* source = total % 2 == 0 ? tail : tail->prev;
    for (std::size_t i = half; i < total; ++i, source = source->prev) {
        if (!source) return 0;  // the chain is shorter than half the sequence
        tail = AppendCopy(*tail->animation, tail, *source, true);
        if (!tail) return 0;
    }
    return 1;
}

Gif* DiscardFrames(Gif* chain) {
    while (chain) {
        Gif* next = chain->next;  // DiscardGif unlinks the frame
        DiscardGif(chain);
        chain = next;
    }
    return nullptr;
}

}  // namespace anitrope
