#include "effects/indexed_frames.h"

#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/frame_chain.h"
#include "model/gif.h"

namespace anitrope {

const IndexedBitmap* PictureIndices(const Gif& first) {
    const IndexedBitmap* in = first.indexed.get();
    const int32_t width = BitmapExtent(first.width), height = BitmapExtent(first.height);
    if (!first.animation || !IsIndexedReady(first) || !in || !in->HasRows() ||
        in->Width() != width || in->Height() != height)
        return nullptr;
    return in;
}

FrameChain ComputeIndexedFrames(const Gif& first, const EffectParams& params,
                                EffectProgress& progress, const PaintIndexRow& paint) {
    const IndexedBitmap* in = PictureIndices(first);
    if (!in) return nullptr;
    const int32_t height = in->Height();
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    if (computed <= 0) return nullptr;
    FrameChain chain(
        MakeFrameList(*first.animation, &first, nullptr, static_cast<std::size_t>(computed)));
    if (!chain) return nullptr;
    const Palette& palette = EffectivePalette(first);

    if (!params.preview) progress.Announce(computed);
    bool ok = true;
    int32_t frame = 0;
    for (Gif* gif = chain.get(); gif && ok; gif = gif->next, ++frame) {
        // The copies keep image 1's colours even where it used the global palette.
        gif->palette = palette;
        gif->usesLocalPalette = 1;
        IndexedBitmap& out = *gif->indexed;
        ok = ForRowBlocks(height, progress, [&](int32_t firstRow, int32_t endRow) {
            for (int32_t y = firstRow; y < endRow; ++y) paint(frame, y, in->Row(y), out.Row(y));
        });
        if (ok && !params.preview) ok = progress.Step();
    }
    if (!params.preview) progress.End();
    if (!ok) return nullptr;
    if (params.pingPong &&
        !AppendPingPong(chain.get(), static_cast<std::size_t>(params.frameCount)))
        return nullptr;
    return chain;
}

}  // namespace anitrope
