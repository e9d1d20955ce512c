#include "quantize/reduce_pixels.h"

#include <algorithm>
#include <array>
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

// Pictures repeat their colours, and the tree's answer for a colour never changes: a small
// direct-mapped memory of recent answers spares most searches.
class NearestCache {
public:
    explicit NearestCache(const ColorTree& tree) : tree_(tree) { keys_.fill(kEmpty); }

    uint8_t Find(uint32_t rgb) {
        const std::size_t slot = (rgb * 2654435761u) >> (32 - kBits);
        if (keys_[slot] != rgb) {
            keys_[slot] = rgb;
            values_[slot] = static_cast<uint8_t>(tree_.NearestColor(
                static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                static_cast<int>(rgb & 0xFF)));
        }
        return values_[slot];
    }

private:
    static constexpr int kBits = 12;
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;  // no colour: the top byte is clear
    const ColorTree& tree_;
    std::array<uint32_t, std::size_t{1} << kBits> keys_;
    std::array<uint8_t, std::size_t{1} << kBits> values_{};
};

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
    NearestCache nearest(tree);
    for (int32_t x = 0; x < width; ++x) {
        if (gif.abortReduction.load()) return false;
        for (int32_t y = 0; y < height; ++y) {
            const uint32_t color = pixels.Get(x, y);
            if (color & TransparentBit) {
                indexed.Set(x, y, transparentIndex);
                gif.hasTransparentPixels = 1;
                continue;
            }
            indexed.Set(x, y, nearest.Find(color & 0xFFFFFF));
        }
    }
    gif.usesLocalPalette = 1;
    return true;
}

}  // namespace anitrope
