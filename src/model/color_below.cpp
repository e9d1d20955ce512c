#include "model/gif.h"

namespace anitrope {
namespace {

bool Covers(const Gif& g, int64_t x, int64_t y) {
    return x >= g.left && y >= g.top && x < int64_t{g.left} + g.width &&
           y < int64_t{g.top} + g.height;
}

ColorRef PaletteColor(const PaletteEntry& e) {
    // An unused slot draws as black, as it does on screen.
    return e.IsUnused() ? 0 : MakeColorRef(e.red, e.green, e.blue);
}

}  // namespace

ColorRef ColorBelow(Gif& gif, int64_t x, int64_t y) {
    // A walk, not a recursion: a long run of transparent frames must not exhaust the stack.
    for (Gif* below = gif.prev; below && below->alive; below = below->prev) {
        if (!Covers(*below, x, y)) continue;
        const auto fx = static_cast<int32_t>(x - below->left);
        const auto fy = static_cast<int32_t>(y - below->top);
        {
            // Still being reduced: its true-colour pixels are the truth. Read under the lock,
            // as the worker that publishes may drop them.
            std::lock_guard lock(below->stateLock);
            if (!below->indexedReady) {
                uint32_t rgb = below->trueColor ? below->trueColor->Get(fx, fy) : 0;
                return ColorRefFromRgb(rgb & 0xFFFFFF);
            }
        }
        const uint8_t index = below->indexed ? below->indexed->Get(fx, fy) : 0;
        if (below->transparent && index == below->transparentIndex) continue;
        return PaletteColor(below->EffectivePalette()[index]);
    }
    return kNoColor;
}

}  // namespace anitrope
