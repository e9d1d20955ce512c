#include "model/color_below.h"

#include "model/animation.h"

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

ColorRef ColorBelow(const Gif& gif, int64_t x, int64_t y) {
    // A walk, not a recursion: a long run of transparent frames must not exhaust the stack.
    for (const Gif* below = gif.prev; below && below->alive; below = below->prev) {
        if (!Covers(*below, x, y)) continue;
        const auto fx = static_cast<int32_t>(x - below->left);
        const auto fy = static_cast<int32_t>(y - below->top);
        if (!below->indexedReady) {
            const bool inside = below->trueColor && fx < below->trueColor->Width() &&
                                fy < below->trueColor->Height();
            const uint32_t rgb = inside ? below->trueColor->Get(fx, fy) : 0;
            return ColorRefFromRgb(rgb & 0xFFFFFF);
        }
        const bool inside = below->indexed && fx < below->indexed->Width() &&
                            fy < below->indexed->Height();
        const uint8_t index = inside ? below->indexed->Get(fx, fy) : 0;
        if (below->transparent && index == below->transparentIndex) continue;
        return PaletteColor(EffectivePalette(*below)[index]);
    }
    return kNoColor;
}

}  // namespace anitrope
