#include "model/convolve.h"

#include <algorithm>

#include "model/true_color_bitmap.h"

namespace anitrope {
namespace {

// Transparent neighbours weigh in as 0x808080, so filtering does not darken or lighten edges
// toward whatever colour a transparent pixel happens to carry.
constexpr uint32_t kTransparentAsGrey = 0x808080;

// The source rows a kernel reaches from one target row, null where they lie outside.
struct KernelRows {
    const uint32_t* rows[kMaxKernelSide] = {};
    const double* weights[kMaxKernelSide] = {};
    int32_t count = 0;
};

// Sums in the kernel's row-major order, skipping what lies outside: the order of the additions
// is part of the result once it is truncated.
uint32_t FilteredPixel(const EffectKernel& kernel, const KernelRows& taps, int32_t columns,
                       int32_t firstColumn, int32_t sourceWidth) {
    double sum[3] = {0, 0, 0};
    for (int32_t k = 0; k < taps.count; ++k) {
        const uint32_t* row = taps.rows[k];
        if (!row) continue;
        for (int32_t l = 0; l < columns; ++l) {
            const int64_t sx = int64_t{firstColumn} + l;
            if (sx < 0 || sx >= sourceWidth) continue;
            uint32_t p = row[sx];
            if (p & TransparentBit) p = kTransparentAsGrey;
            const double w = taps.weights[k][l];
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
    Convolve3x3(kernel, target, source, 0, target.Height());
}

void Convolve3x3(const EffectKernel& kernel, TrueColorBitmap& target, const TrueColorBitmap& source,
                 int32_t firstRow, int32_t endRow) {
    if (!target.HasRows()) return;
    const int32_t rows = std::clamp(kernel.height, 0, kMaxKernelSide);
    const int32_t columns = std::clamp(kernel.width, 0, kMaxKernelSide);
    const int32_t dy = (1 - rows) / 2, dx = (1 - columns) / 2;
    // A source without rows reads as zeros, which add nothing to any sum.
    const int32_t sourceWidth = source.HasRows() ? source.Width() : 0;
    const int32_t sourceHeight = source.HasRows() ? source.Height() : 0;
    auto sourceRow = [&](int64_t y) {
        return y >= 0 && y < sourceHeight ? source.Row(static_cast<int32_t>(y)) : nullptr;
    };

    for (int32_t y = std::max(firstRow, 0); y < std::min(endRow, target.Height()); ++y) {
        KernelRows taps;
        taps.count = rows;
        for (int32_t k = 0; k < rows; ++k) {
            taps.rows[k] = sourceRow(int64_t{y} + k + dy);
            taps.weights[k] = kernel.weights[static_cast<std::size_t>(k)].data();
        }
        const uint32_t* own = sourceRow(y);
        uint32_t* out = target.Row(y);
        for (int32_t x = 0; x < target.Width(); ++x) {
            const uint32_t pixel = own && x < sourceWidth ? own[x] : 0;
            out[x] = pixel & TransparentBit
                         ? pixel
                         : FilteredPixel(kernel, taps, columns, x + dx, sourceWidth);
        }
    }
}

}  // namespace anitrope
