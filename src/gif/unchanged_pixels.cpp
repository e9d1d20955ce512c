#include "gif/unchanged_pixels.h"

#include "gif/screen_walk.h"
#include "model/gif.h"

namespace anitrope {

int64_t MarkUnchangedTransparent(const Animation& animation, Gif& frame, IndexedBitmap& target,
                                 const ScreenImage& before, uint32_t mask) {
    if (!frame.prev || !frame.transparent || !frame.indexed) return 0;
    const uint32_t disposal = DisposalBefore(animation, frame);
    if (disposal != DisposalNotSpecified && disposal != DisposalDoNotDispose) return 0;

    frame.hasTransparentPixels = 1;
    const IndexedBitmap& pixels = *frame.indexed;
    const auto transparentIndex = static_cast<uint8_t>(frame.transparentIndex);
    int64_t marked = 0;
    for (int32_t y = 0; y < pixels.Height() && y < target.Height(); ++y) {
        for (int32_t x = 0; x < pixels.Width() && x < target.Width(); ++x) {
            const uint8_t index = pixels.Get(x, y);
            const Beneath beneath = CompareWithScreen(PaletteRgb(frame.palette[index]), before,
                                                      int64_t{frame.left} + x,
                                                      int64_t{frame.top} + y, mask);
            if (beneath == Beneath::Same && index != transparentIndex) {
                target.Set(x, y, transparentIndex);
                ++marked;
            } else {
                target.Set(x, y, index);
            }
        }
    }
    return marked;
}

}  // namespace anitrope
