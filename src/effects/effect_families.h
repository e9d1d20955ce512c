#pragma once

// The setup and compute routines of each family, one source file per family; the tables
// (effect_table.cpp) name them.

#include "effects/effect_entry.h"

namespace anitrope {

// blend_effects.cpp: Fade Out and Fade, Invert and Overblend, Color Blending Out and Color
// Blending.
int SetupFade(EffectSlots& slots, SetupMode mode);
FrameChain ComputeFade(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress);
FrameChain ComputeInvertOverblend(const Gif* first, const Gif* second,
                                  const EffectParams& params, EffectProgress& progress);
FrameChain ComputeColorBlending(const Gif* first, const Gif* second, const EffectParams& params,
                                EffectProgress& progress);

// convolution_effects.cpp: Blur and Emboss, each an effect and a transition.
int SetupBlur(EffectSlots& slots, SetupMode mode);
int SetupEmboss(EffectSlots& slots, SetupMode mode);
FrameChain ComputeBlur(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress);
FrameChain ComputeEmboss(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress);

// Validation shared by entries: a transition needs at least two frames. Refuses with "At
// least two frames are required for this transition !" and returns 0.
int RequireTwoFramesForTransition(EffectSlots& slots);

}  // namespace anitrope
