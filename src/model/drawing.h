#pragma once

#include <array>
#include <cstdint>

#include "model/palette_entry.h"

namespace anitrope {

struct Gif;
class IndexedBitmap;
class ScreenImage;
class TrueColorBitmap;

// Draws the frame's indexed pixels with their top-left corner at (x, y), clipped to the screen
// image. Colours come from the frame's palette that applies (local or global); a slot the
// frame's own palette leaves unused draws black even where the global palette applies.
// Returns 0, drawing nothing, for a frame without indexed pixels; else 1.
int DrawIndexed(const Gif& frame, ScreenImage& screen, int64_t x, int64_t y);

// Draws the true-colour pixels (transparency bit dropped) at (x, y), clipped.
void DrawTrueColor(const TrueColorBitmap& bitmap, ScreenImage& screen, int64_t x, int64_t y);

// The colour each index of the frame draws, by DrawIndexed's rule: the palette that applies,
// black for a slot the frame's own palette leaves unused.
std::array<uint32_t, kPaletteSlots> FrameColorTable(const Gif& owner);

// Matches no index: every pixel is drawn.
inline constexpr int32_t kNoTransparentIndex = -1;

// DrawIndexed, except that pixels holding `transparentIndex` leave the screen as it was.
int DrawIndexedOver(const Gif& frame, ScreenImage& screen, int64_t x, int64_t y,
                    int32_t transparentIndex);

// DrawTrueColor, except that pixels with TransparentBit leave the screen as it was.
void DrawTrueColorOver(const TrueColorBitmap& bitmap, ScreenImage& screen, int64_t x, int64_t y);

// Sets the part of the width x height rectangle at (x, y) that lies on the screen to rgb.
void FillRect(ScreenImage& screen, int64_t x, int64_t y, int32_t width, int32_t height,
              uint32_t rgb);

// Copies the screen image into the bitmap over the size both share, with the rows in reverse
// order when `bottomUp`, then clears the top byte (transparency included) of every pixel.
void CaptureTrueColor(TrueColorBitmap& bitmap, const ScreenImage& screen, bool bottomUp);

}  // namespace anitrope
