#pragma once

#include <atomic>
#include <optional>

#include "model/reduction_workers.h"
#include "quantize/choose_palette.h"
#include "quantize/perceptual_reduction.h"
#include "quantize/reduction_method.h"

namespace anitrope {

// Maps true-colour pixels onto a palette chosen for them (see ChoosePalette): the indices, of
// the pixels' size, and the palette; transparent pixels get the transparent index, which is
// always set. Nothing once `abort` is set, or when memory runs out.
std::optional<ReductionResult> ReduceTrueColor(const TrueColorBitmap& pixels,
                                               const KeepColors& keep,
                                               const std::atomic<bool>* abort = nullptr);

// The same by the chosen method: "Popularity" is the function above, "High Quality"
// ReducePerceptual, which alone uses `previous`.
std::optional<ReductionResult> ReduceTrueColor(const TrueColorBitmap& pixels,
                                               const KeepColors& keep,
                                               const ReductionOptions& options,
                                               const std::atomic<bool>* abort = nullptr,
                                               const PreviousPalette& previous = {});

// Reduces the frame's true colour and applies the result (ApplyReduction), keeping the true
// colour. False, changing nothing, without true colour or when the reduction failed.
bool ReducePixels(Gif& gif, const ReductionOptions& options = {});

}  // namespace anitrope
