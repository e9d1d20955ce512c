#include "quantize/reduce_pixels.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "quantize/choose_palette.h"
#include "quantize/color_tree.h"

namespace anitrope {
namespace {

void EnsureIndexedBitmap(Gif& gif) {
    const auto width = static_cast<int32_t>(gif.width);
    const auto height = static_cast<int32_t>(gif.height);
    if (!gif.indexed || gif.indexed->Width() != width || gif.indexed->Height() != height) {
        gif.indexed = std::make_unique<IndexedBitmap>(&gif, width, height);
    }
}

}  // namespace

bool ReducePixels(Gif& gif) {
    if (!gif.trueColor) return false;
    const TrueColorBitmap& pixels = *gif.trueColor;
    const int colors = ChoosePalette(pixels, gif);
    if (colors < 0) return false;

    std::vector<int> points(static_cast<size_t>(colors));
    std::iota(points.begin(), points.end(), 0);
    ColorTree tree;
    tree.Build(points, gif.palette);

    EnsureIndexedBitmap(gif);
    IndexedBitmap& indexed = *gif.indexed;
    gif.hasTransparentPixels = 0;
    // Pixel access is unchecked: stay inside both bitmaps should their sizes disagree.
    const int32_t width = std::min(pixels.Width(), indexed.Width());
    const int32_t height = std::min(pixels.Height(), indexed.Height());
    const auto transparentIndex = static_cast<uint8_t>(gif.transparentIndex);
    for (int32_t x = 0; x < width; ++x) {
        if (gif.abortReduction.load()) return false;
        for (int32_t y = 0; y < height; ++y) {
            const uint32_t color = pixels.Get(x, y);
            if (color & TransparentBit) {
                indexed.Set(x, y, transparentIndex);
                gif.hasTransparentPixels = 1;
                continue;
            }
            const int index = tree.NearestColor(static_cast<int>((color >> 16) & 0xFF),
                                                static_cast<int>((color >> 8) & 0xFF),
                                                static_cast<int>(color & 0xFF));
            indexed.Set(x, y, static_cast<uint8_t>(index));
        }
    }
    gif.usesLocalPalette = 1;
    return true;
}

}  // namespace anitrope
