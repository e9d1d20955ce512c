#include "model/gif.h"

#include <utility>

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

int32_t IsIndexedReady(const Gif& gif) { return gif.indexedReady; }

void SetIndexedReady(Gif& gif, int32_t value) { gif.indexedReady = value; }

void DestroyGif(Gif& gif) {
    gif.alive = 0;
    if (gif.prev) gif.prev->next = gif.next;
    if (gif.next) gif.next->prev = gif.prev;
    gif.prev = gif.next = nullptr;
    gif.indexed.reset();
    gif.trueColor.reset();
    gif.comments.Clear();
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
