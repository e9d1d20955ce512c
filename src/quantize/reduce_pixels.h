#pragma once

#include <atomic>
#include <optional>

#include "model/reduction_workers.h"
#include "quantize/choose_palette.h"

namespace anitrope {

// Maps true-colour pixels onto a palette chosen for them (see ChoosePalette): the indices, of
// the pixels' size, and the palette; transparent pixels get the transparent index, which is
// always set. Nothing once `abort` is set, or when memory runs out.
std::optional<ReductionResult> ReduceTrueColor(const TrueColorBitmap& pixels,
                                               const KeepColors& keep,
                                               const std::atomic<bool>* abort = nullptr);

// Reduces the frame's true colour and applies the result (ApplyReduction), keeping the true
// colour. False, changing nothing, without true colour or when the reduction failed.
bool ReducePixels(Gif& gif);

}  // namespace anitrope
