#include "quantize/reduce_pixels.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "quantize/choose_palette.h"
#include "quantize/color_tree.h"

namespace anitrope {
namespace {

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

std::optional<ReductionResult> ReduceTrueColor(const TrueColorBitmap& pixels,
                                               const KeepColors& keep,
                                               const std::atomic<bool>* abort) {
    ReductionResult result;
    const int colors = ChoosePalette(pixels, keep, result.palette, abort);
    if (colors < 0) return std::nullopt;
    result.transparentIndex = colors;
    result.transparent = 1;

    std::vector<int> points(static_cast<size_t>(colors));
    std::iota(points.begin(), points.end(), 0);
    ColorTree tree;
    tree.Build(points, result.palette);

    result.indexed = std::make_shared<IndexedBitmap>(nullptr, pixels.Width(), pixels.Height());
    IndexedBitmap& indexed = *result.indexed;
    if (pixels.Width() > 0 && pixels.Height() > 0 && (!indexed.HasRows() || !pixels.HasRows()))
        return std::nullopt;
    const auto transparentIndex = static_cast<uint8_t>(colors);
    NearestCache nearest(tree);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        if (abort && abort->load(std::memory_order_relaxed)) return std::nullopt;
        const uint32_t* in = pixels.Row(y);
        uint8_t* out = indexed.Row(y);
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint32_t color = in[x];
            if (color & TransparentBit) {
                out[x] = transparentIndex;
                result.hasTransparentPixels = 1;
            } else {
                out[x] = nearest.Find(color & 0xFFFFFF);
            }
        }
    }
    return result;
}

std::optional<ReductionResult> ReduceTrueColor(const TrueColorBitmap& pixels,
                                               const KeepColors& keep,
                                               const ReductionOptions& options,
                                               const std::atomic<bool>* abort,
                                               const PreviousPalette& previous) {
    if (options.method == ReductionMethod::HighQuality)
        return ReducePerceptual(pixels, keep, options.dither, abort, previous);
    return ReduceTrueColor(pixels, keep, abort);
}

bool ReducePixels(Gif& gif, const ReductionOptions& options) {
    if (!gif.trueColor) return false;
    std::optional<ReductionResult> result = ReduceTrueColor(*gif.trueColor, gif.keepColors, options);
    if (!result) return false;
    ApplyReduction(gif, std::move(*result), true);
    return true;
}

}  // namespace anitrope
