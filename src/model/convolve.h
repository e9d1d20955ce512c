#pragma once

#include <array>
#include <cstdint>

namespace anitrope {

class TrueColorBitmap;

inline constexpr int32_t kMaxKernelSide = 3;

// A filter effect: weights applied to the neighbourhood of each pixel, plus a bias added to
// every channel. Sides up to kMaxKernelSide; the kernel is centred on the pixel.
struct EffectKernel {
    int32_t width = kMaxKernelSide;
    int32_t height = kMaxKernelSide;
    std::array<std::array<double, kMaxKernelSide>, kMaxKernelSide> weights{};  // [row][column]
    int32_t bias = 0;
};

// Filters `source` into `target` over the target's size. Transparent pixels are copied as they
// are; a transparent neighbour counts as mid grey, and neighbours outside the source are left
// out rather than mirrored. Results are clamped to 0-255 per channel.
void Convolve3x3(const EffectKernel& kernel, TrueColorBitmap& target,
                 const TrueColorBitmap& source);
// The same over the target rows [firstRow, endRow) only, so that one picture can be shared
// out among threads.
void Convolve3x3(const EffectKernel& kernel, TrueColorBitmap& target,
                 const TrueColorBitmap& source, int32_t firstRow, int32_t endRow);

}  // namespace anitrope
