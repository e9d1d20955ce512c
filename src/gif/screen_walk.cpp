#include "gif/screen_walk.h"

#include "model/animation.h"
#include "model/frame_composition.h"
#include "model/gif.h"

namespace anitrope {

bool WalkScreens(const Animation& animation, Gif* first,
                 const std::function<bool(Gif& frame, const ScreenImage& before)>& visit) {
    if (!first) return true;
    ScreenImage screen = InitialCanvas(animation, *first);
    for (Gif* frame = first; frame; frame = frame->next) {
        if (!visit(*frame, screen)) return false;
        AdvancePastFrame(animation, *frame, screen);
    }
    return true;
}

Beneath CompareWithScreen(uint32_t rgb, const ScreenImage& screen, int64_t x, int64_t y,
                          uint32_t mask) {
    if (x < 0 || y < 0 || x >= screen.Width() || y >= screen.Height()) return Beneath::Hidden;
    const uint32_t below = screen.Get(static_cast<int32_t>(x), static_cast<int32_t>(y));
    if (below == kNothingBeneathPixel) return Beneath::Uncovered;
    return (rgb & mask) == (below & mask) ? Beneath::Same : Beneath::Different;
}

uint32_t FramePixelRgb(const Gif& frame, int32_t x, int32_t y) {
    const uint8_t index = frame.indexed->Get(x, y);
    // As it is drawn: a slot unused in the frame's own palette shows black.
    return frame.palette[index].IsUnused() ? 0 : PaletteRgb(EffectivePalette(frame)[index]);
}

uint32_t DisposalBefore(const Animation& animation, const Gif& frame) {
    if (animation.useAnimationDisposal || !frame.prev)
        return static_cast<uint32_t>(animation.animationDisposal);
    return frame.prev->disposal;
}

}  // namespace anitrope
