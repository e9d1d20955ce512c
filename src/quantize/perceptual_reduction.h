#pragma once

#include <atomic>
#include <functional>
#include <optional>

#include "model/reduction_workers.h"
#include "model/true_color_bitmap.h"
#include "quantize/choose_palette.h"
#include "quantize/reduction_method.h"

namespace anitrope {

// A frame takes over its predecessor's palette when that costs it less than this much PSNR:
// frames of a fade then share their colours, do not flicker, and leave the optimizer more
// unchanged pixels.
inline constexpr double kPaletteReuseLossDb = 0.5;

// Asked once the frame's own palette is chosen: the palette of the frame before it, or null
// when there is none to take over. It may wait for that frame's reduction.
using PreviousPalette = std::function<const SharedPalette*()>;

// "High Quality": the KeepColors first, then up to 255 colours in all, chosen by median cut in
// Oklab weighted by pixel count and refined by a few k-means passes in sRGB; each pixel takes
// the nearest palette colour in sRGB, with Floyd-Steinberg error diffusion when `dither`. The
// cut in a perceptual space decides where colours go; the passes and the mapping in sRGB keep
// the squared error, which PSNR measures, low. A picture of at most 255 colours keeps them
// exactly. Transparent pixels get the transparent index, the slot after the last colour, as
// with ReduceTrueColor. The same input gives the same result. Nothing once `abort` is set;
// throws std::bad_alloc when memory runs out.
std::optional<ReductionResult> ReducePerceptual(const TrueColorBitmap& pixels,
                                                const KeepColors& keep, bool dither,
                                                const std::atomic<bool>* abort = nullptr,
                                                const PreviousPalette& previous = {});

}  // namespace anitrope
