#include "model/convolve.h"

#include <algorithm>

#include "model/true_color_bitmap.h"

namespace anitrope {
namespace {

// Transparent neighbours weigh in as 0x808080, so filtering does not darken or lighten edges
// toward whatever colour a transparent pixel happens to carry.
constexpr uint32_t kTransparentAsGrey = 0x808080;

bool Inside(const TrueColorBitmap& b, int64_t x, int64_t y) {
    return x >= 0 && y >= 0 && x < b.Width() && y < b.Height();
}

uint32_t FilteredPixel(const EffectKernel& kernel, const TrueColorBitmap& source, int32_t x,
                       int32_t y) {
    const int32_t rows = std::clamp(kernel.height, 0, kMaxKernelSide);
    const int32_t columns = std::clamp(kernel.width, 0, kMaxKernelSide);
    const int32_t dy = (1 - rows) / 2, dx = (1 - columns) / 2;
    double sum[3] = {0, 0, 0};
    for (int32_t k = 0; k < rows; ++k) {
        for (int32_t l = 0; l < columns; ++l) {
            const int64_t sx = int64_t{x} + l + dx, sy = int64_t{y} + k + dy;
            if (!Inside(source, sx, sy)) continue;
            uint32_t p = source.Get(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
            if (p & TransparentBit) p = kTransparentAsGrey;
            const double w = kernel.weights[k][l];
            sum[0] += w * (p >> 16 & 0xFF);
            sum[1] += w * (p >> 8 & 0xFF);
            sum[2] += w * (p & 0xFF);
        }
    }
    uint32_t rgb = 0;
    for (double s : sum)
        rgb = rgb << 8 | static_cast<uint32_t>(std::clamp(s + kernel.bias, 0.0, 255.0));
    return rgb;
}

}  // namespace

void Convolve3x3(const EffectKernel& kernel, TrueColorBitmap& target,
                 const TrueColorBitmap& source) {
    if (!target.HasRows()) return;
    for (int32_t y = 0; y < target.Height(); ++y) {
        for (int32_t x = 0; x < target.Width(); ++x) {
            const uint32_t own = Inside(source, x, y) ? source.Get(x, y) : 0;
            target.Set(x, y, own & TransparentBit ? own : FilteredPixel(kernel, source, x, y));
        }
    }
}

}  // namespace anitrope
