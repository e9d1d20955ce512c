#pragma once

#include <cstdint>

#include "model/palette_entry.h"

namespace anitrope {

// "Color Reduction": the stored values are the setting's DWORDs.
enum class ReductionMethod : int32_t {
    Popularity = 0,   // the most frequent colours (ChoosePalette)
    HighQuality = 1,  // perceptual clusters (ReducePerceptual)
};

struct ReductionOptions {
    ReductionMethod method = ReductionMethod::Popularity;
    bool dither = false;  // "Dither": only High Quality diffuses the error

    friend bool operator==(const ReductionOptions&, const ReductionOptions&) = default;
};

// A palette one frame's reduction hands to the next: the first `colors` slots are colours, the
// slot at `colors` is the transparent one.
struct SharedPalette {
    Palette palette = EmptyPalette();
    int colors = 0;
};

}  // namespace anitrope
