#include "model/true_color_conversion.h"

#include "model/frame_alloc.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/reduction_workers.h"
#include "model/status_display.h"

namespace anitrope {

int MakeTrueColor(Gif* gif, bool pending) {
    if (!gif) return 0;
    if (pending) {
        // The caller is about to change the true colour: a reduction of the old one would
        // read it while it changes and publish a stale palette.
        if (StopReduction(*gif) && gif->animation && gif->animation->status)
            gif->animation->status->ReportStatus(StatusPendingDropped);
        SetIndexedReady(*gif, 0);
    } else if (!KeepsTrueColor(*gif)) {
        WaitForReduction(*gif);  // or the worker drops the true colour under our feet
    }
    if (gif->trueColor) return 1;

    // A worker still writing the indexed pixels would hand us half a picture.
    WaitForReduction(*gif);
    AllocTrueColor(*gif);
    if (!pending) SetIndexedReady(*gif, 1);

    TrueColorBitmap& out = *gif->trueColor;
    if (!out.HasRows()) return 1;
    const IndexedBitmap* in = gif->indexed.get();
    const Palette& palette = gif->EffectivePalette();
    for (int32_t y = 0; y < out.Height(); ++y) {
        for (int32_t x = 0; x < out.Width(); ++x) {
            const bool inside = in && x < in->Width() && y < in->Height();
            const uint8_t index = inside ? in->Get(x, y) : 0;
            uint32_t rgb = PaletteRgb(palette[index]);
            if (gif->transparent && index == gif->transparentIndex) rgb |= TransparentBit;
            out.Set(x, y, rgb);
        }
    }
    return 1;
}

}  // namespace anitrope
