#pragma once

#include <cstdint>

#include "model/screen_image.h"

namespace anitrope {

struct Animation;
struct Gif;

// The rules by which a GIF89a viewer builds the screen frame by frame (section 23, disposal
// method), on one working canvas. "Canvas k" is the screen just before frame k is drawn; the
// display picture of frame k is canvas k with frame k drawn on it. Pixels are 0x00RRGGBB;
// kNothingBeneathPixel marks screen no frame and no background ever covered.
//
// A frame's picture comes from its indexed pixels while they are current and present, else
// from its true colour (a frame awaiting colour reduction), else it has none.

// The global palette's background slot; an unused slot is black.
uint32_t BackgroundPixel(const Animation& animation);

// The document's disposal when "Use Global Disposal" is set, else the frame's own.
uint32_t DisposalInForce(const Animation& animation, const Gif& gif);

// True when the frame has indexed or true-colour pixels to show.
bool HasPicture(const Gif& gif);

// True when the frame's current indexed pixels cover the whole screen and none of them is
// transparent: its picture needs nothing from earlier frames. A frame awaiting reduction
// never counts, which only ever costs work, never correctness.
bool CoversScreenOpaquely(const Animation& animation, const Gif& gif);

// Canvas 0: nothing beneath inside the first frame's rectangle, the background colour
// around it.
ScreenImage InitialCanvas(const Animation& animation, const Gif& first);

// Draws the frame at its position, clipped: opaque pixels replace the canvas, transparent
// ones (the transparent index, or TransparentBit in true colour) leave it.
void DrawFrame(const Gif& gif, ScreenImage& canvas);

// Turns canvas k into canvas k + 1 without keeping the display picture between: "restore to
// previous" leaves the canvas alone, "restore to background" fills the frame's rectangle,
// anything else draws the frame.
void AdvancePastFrame(const Animation& animation, const Gif& gif, ScreenImage& canvas);

// Turns the display picture of the frame into the next canvas. Not for "restore to
// previous", whose next canvas is the one before the frame.
void DisposeAfterDisplay(const Animation& animation, const Gif& gif, ScreenImage& display);

}  // namespace anitrope
