#pragma once

// Scenes for the compositor and display cache tests, and a viewer simulated the plain way to
// check composition against: every frame drawn in order on one screen, with a copy of the
// screen kept before each frame for "restore to previous".

#include <cstdint>
#include <vector>

#include "frame_fixtures.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/palette_entry.h"
#include "model/screen_image.h"
#include "model/true_color_bitmap.h"

namespace anitrope::testing {

using Pixels = std::vector<uint32_t>;

inline Pixels PixelsOf(const ScreenImage& image) {
    Pixels out;
    for (int32_t y = 0; y < image.Height(); ++y)
        out.insert(out.end(), image.Row(y), image.Row(y) + image.Width());
    return out;
}

// The screen pixel under the frame's pixel (x, y) would be drawn with, or nothing when it is
// transparent.
inline bool FramePixel(Gif& gif, int32_t x, int32_t y, uint32_t& rgb) {
    if (!IsIndexedReady(gif)) {
        const uint32_t p = gif.trueColor->Get(x, y);
        rgb = p & 0xFFFFFF;
        return (p & TransparentBit) == 0;
    }
    const uint8_t index = gif.indexed->Get(x, y);
    rgb = PaletteRgb(EffectivePalette(gif)[index]);
    return !(gif.transparent && index == gif.transparentIndex);
}

inline void FillFrameArea(const Animation& doc, const Gif& gif, Pixels& screen, uint32_t rgb) {
    for (int64_t y = gif.top; y < int64_t{gif.top} + gif.height; ++y)
        for (int64_t x = gif.left; x < int64_t{gif.left} + gif.width; ++x)
            if (x >= 0 && y >= 0 && x < doc.screenWidth && y < doc.screenHeight)
                screen[static_cast<std::size_t>(y * doc.screenWidth + x)] = rgb;
}

// What a viewer shows with each frame on screen, frames of 8 bits (or pending with true
// colour) only.
inline std::vector<Pixels> SimulateViewer(Animation& doc) {
    const uint32_t background = PaletteRgb(doc.globalPalette[doc.backgroundIndex]);
    Pixels screen(static_cast<std::size_t>(doc.screenWidth) * doc.screenHeight, background);
    if (doc.head) FillFrameArea(doc, *doc.head, screen, kNothingBeneathPixel);
    std::vector<Pixels> shown;
    for (Gif* gif = doc.head; gif; gif = gif->next) {
        const Pixels before = screen;
        for (int32_t y = 0; y < static_cast<int32_t>(gif->height); ++y) {
            for (int32_t x = 0; x < static_cast<int32_t>(gif->width); ++x) {
                const int64_t sx = int64_t{gif->left} + x, sy = int64_t{gif->top} + y;
                uint32_t rgb = 0;
                if (sx < 0 || sy < 0 || sx >= doc.screenWidth || sy >= doc.screenHeight ||
                    !FramePixel(*gif, x, y, rgb))
                    continue;
                screen[static_cast<std::size_t>(sy * doc.screenWidth + sx)] = rgb;
            }
        }
        shown.push_back(screen);
        const uint32_t disposal =
            doc.useAnimationDisposal ? static_cast<uint32_t>(doc.animationDisposal) : gif->disposal;
        if (disposal == DisposalRestoreBackground) FillFrameArea(doc, *gif, screen, background);
        if (disposal == DisposalRestorePrevious) screen = before;
    }
    return shown;
}

// Four distinct colours in slots 0-3 of the frame's own palette.
inline void GiveFourColors(Gif& gif, int seed) {
    for (int slot = 0; slot < 4; ++slot)
        SetSlot(gif.palette, slot, (seed * 40 + slot * 60) % 256, slot * 80, (seed * 7) % 256);
}

// `count` frames on an 8 x 6 screen that use everything composition depends on: frames of
// every size and place (some reaching off the screen), every disposal including a reserved
// one, transparent and opaque frames, whole-screen opaque frames now and then, and frames
// awaiting reduction.
inline void BuildMixedScene(Animation& doc, int count) {
    doc.screenWidth = 8;
    doc.screenHeight = 6;
    SetSlot(doc.globalPalette, 0, 0, 0, 200);
    for (int i = 0; i < count; ++i) {
        const bool whole = i % 7 == 6;
        const uint32_t width = whole ? 8 : static_cast<uint32_t>(i % 4 + 2);
        const uint32_t height = whole ? 6 : static_cast<uint32_t>(i % 3 + 2);
        Gif* gif =
            AppendFrame(doc, width, height, whole ? 0 : (i * 3) % 7 - 1, whole ? 0 : (i * 2) % 5);
        GiveFourColors(*gif, i);
        for (int32_t y = 0; y < gif->indexed->Height(); ++y)
            for (int32_t x = 0; x < gif->indexed->Width(); ++x)
                gif->indexed->Set(x, y, static_cast<uint8_t>((x + 2 * y + i) % 4));
        gif->disposal = i % 5 == 4 ? 5u : static_cast<uint32_t>(i % 4);
        gif->transparent = (!whole && i % 3 != 0) ? 1 : 0;
        if (i % 11 == 10) {
            AllocTrueColor(*gif);  // pending
            for (int32_t y = 0; y < gif->trueColor->Height(); ++y)
                for (int32_t x = 0; x < gif->trueColor->Width(); ++x)
                    gif->trueColor->Set(
                        x, y,
                        (x + y) % 3 == 0 ? TransparentBit | 0xFFFFFF : 0x010101u * (40u + 20u * i));
        }
    }
}

}  // namespace anitrope::testing
