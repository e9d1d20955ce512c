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

// move_zoom_effects.cpp: Move and its three transitions, Zoom Out and Zoom In.
int SetupMove(EffectSlots& slots, SetupMode mode);
int SetupMoveBoth(EffectSlots& slots, SetupMode mode);
FrameChain ComputeMoveFirst(const Gif* first, const Gif* second, const EffectParams& params,
                            EffectProgress& progress);
FrameChain ComputeMoveSecond(const Gif* first, const Gif* second, const EffectParams& params,
                             EffectProgress& progress);
FrameChain ComputeMoveBoth(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress);
FrameChain ComputeZoomIn(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress);
FrameChain ComputeZoomOut(const Gif* first, const Gif* second, const EffectParams& params,
                          EffectProgress& progress);

// blind_effects.cpp: Blind (effect and transition) and Random Rects.
int SetupBlind(EffectSlots& slots, SetupMode mode);
int SetupRandomRects(EffectSlots& slots, SetupMode mode);
FrameChain ComputeBlind(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress);
FrameChain ComputeRandomRects(const Gif* first, const Gif* second, const EffectParams& params,
                              EffectProgress& progress);

// frame_effects.cpp: Frame Out (effect), Frame Out 1. Image and Frame In 2. Image.
FrameChain ComputeFrameOut(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress);
FrameChain ComputeFrameIn(const Gif* first, const Gif* second, const EffectParams& params,
                          EffectProgress& progress);

// texture_effects.cpp: Checkers, Weave and Fringe (effect and transition).
int SetupFringe(EffectSlots& slots, SetupMode mode);
FrameChain ComputeCheckers(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress);
FrameChain ComputeWeave(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress);
FrameChain ComputeFringe(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress);

// pixelize_effects.cpp: Pixelize, an effect and a transition.
int SetupPixelize(EffectSlots& slots, SetupMode mode);
FrameChain ComputePixelize(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress);

// wave_flag_effects.cpp: Wave Out and Wave (one routine for both), Flag.
int SetupWave(EffectSlots& slots, SetupMode mode);
int SetupFlag(EffectSlots& slots, SetupMode mode);
FrameChain ComputeWave(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress);
FrameChain ComputeFlag(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress);

// sphere_effects.cpp: Roll Sphere and Tilt In, each an effect and a transition.
int SetupRollSphere(EffectSlots& slots, SetupMode mode);
int SetupTiltIn(EffectSlots& slots, SetupMode mode);
FrameChain ComputeRollSphere(const Gif* first, const Gif* second, const EffectParams& params,
                             EffectProgress& progress);
FrameChain ComputeTiltIn(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress);

// satellite_effects.cpp: Roll Sphere with Satellite, a transition.
int SetupSatellite(EffectSlots& slots, SetupMode mode);
FrameChain ComputeSatellite(const Gif* first, const Gif* second, const EffectParams& params,
                            EffectProgress& progress);

// radar_rotor_effects.cpp: Radar and Rotor, each an effect and a transition sharing one
// compute routine.
int SetupRadar(EffectSlots& slots, SetupMode mode);
FrameChain ComputeRadar(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress);
FrameChain ComputeRotor(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress);

// page_effects.cpp: Page, an effect and a transition sharing both routines.
int SetupPage(EffectSlots& slots, SetupMode mode);
FrameChain ComputePage(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress);

// spiral_spot_effects.cpp: Spiral and Spot, each an effect and a transition sharing both
// routines.
int SetupSpiral(EffectSlots& slots, SetupMode mode);
int SetupSpot(EffectSlots& slots, SetupMode mode);
FrameChain ComputeSpiral(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress);
FrameChain ComputeSpot(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress);

// shine_effects.cpp: Random Shine through, an effect and a transition.
FrameChain ComputeRandomShine(const Gif* first, const Gif* second, const EffectParams& params,
                              EffectProgress& progress);

// Validation shared by entries: a transition needs at least two frames. Refuses with "At
// least two frames are required for this transition !" and returns 0.
int RequireTwoFramesForTransition(EffectSlots& slots);

}  // namespace anitrope
