#include "model/reduction_workers.h"

#include <utility>

#include "model/gif.h"

namespace anitrope {

void ApplyReduction(Gif& gif, ReductionResult result, bool keepTrueColor) {
    if (result.indexed) result.indexed->SetOwner(&gif);
    gif.palette = result.palette;
    gif.indexed = std::move(result.indexed);
    gif.transparent = result.transparent;
    gif.transparentIndex = result.transparentIndex;
    gif.hasTransparentPixels = result.hasTransparentPixels;
    gif.usesLocalPalette = 1;
    gif.bitsPerPixel = 8;
    gif.indexedReady = 1;
    if (!keepTrueColor) gif.trueColor.reset();
}

bool AwaitsReduction(const Gif& gif) { return !gif.indexedReady && gif.trueColor; }

}  // namespace anitrope
