#include "model/animation.h"

#include <algorithm>

#include "model/gif.h"

namespace anitrope {

Animation::~Animation() { Clear(); }

std::size_t Animation::FrameCount() const {
    std::size_t n = 0;
    for (Gif* g = head; g; g = g->next) ++n;
    return n;
}

Gif* Animation::FrameAt(std::size_t index) const {
    Gif* g = head;
    while (g && index--) g = g->next;
    return g;
}

Gif* Animation::LastFrame() const {
    Gif* g = head;
    while (g && g->next) g = g->next;
    return g;
}

void Animation::Clear() {
    while (head) DiscardGif(head);  // DestroyGif moves head on
    current = nullptr;
}

void Animation::FitScreenToFrames() {
    int64_t right = 0, bottom = 0;
    for (Gif* g = head; g; g = g->next) {
        right = std::max(right, int64_t{g->left} + g->width);
        bottom = std::max(bottom, int64_t{g->top} + g->height);
    }
    screenWidth = static_cast<int32_t>(std::min<int64_t>(right, INT32_MAX));
    screenHeight = static_cast<int32_t>(std::min<int64_t>(bottom, INT32_MAX));
}

}  // namespace anitrope
