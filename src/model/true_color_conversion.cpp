#include "model/true_color_conversion.h"

#include "model/animation.h"
#include "model/frame_alloc.h"

namespace anitrope {
namespace {

// Every pixel's colour from the palette that applies, TransparentBit on the transparent index.
void ConvertIndexed(const Gif& gif, TrueColorBitmap& out) {
    if (!out.HasRows()) return;
    const IndexedBitmap* in = gif.indexed.get();
    const Palette& palette = EffectivePalette(gif);
    for (int32_t y = 0; y < out.Height(); ++y) {
        const bool rowInside = in && in->HasRows() && y < in->Height();
        const uint8_t* source = rowInside ? in->Row(y) : nullptr;
        uint32_t* target = out.Row(y);
        for (int32_t x = 0; x < out.Width(); ++x) {
            const uint8_t index = source && x < in->Width() ? source[x] : 0;
            uint32_t rgb = PaletteRgb(palette[index]);
            if (gif.transparent && index == gif.transparentIndex) rgb |= TransparentBit;
            target[x] = rgb;
        }
    }
}

}  // namespace

int MakeTrueColor(Gif* gif, bool pending) {
    if (!gif) return 0;
    if (pending) SetIndexedReady(*gif, 0);
    if (gif->trueColor) return 1;
    AllocTrueColor(*gif);
    if (!pending) SetIndexedReady(*gif, 1);
    ConvertIndexed(*gif, *gif->trueColor);
    return 1;
}

std::shared_ptr<const TrueColorBitmap> TrueColorOf(const Gif& gif) {
    if (gif.trueColor) return gif.trueColor;
    if (!gif.indexed) return nullptr;
    auto out = std::make_shared<TrueColorBitmap>(BitmapExtent(gif.width), BitmapExtent(gif.height));
    ConvertIndexed(gif, *out);
    return out;
}

}  // namespace anitrope
