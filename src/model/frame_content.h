#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/indexed_bitmap.h"
#include "model/palette_entry.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

struct Gif;

// What a frame shows, apart from its timing, disposal and place in the document: geometry,
// pixels, palette and transparency. Optimizing, unoptimizing and resizing replace it as a
// whole; the undo history keeps the other one. Buffers are shared with the frame, not copied.
struct FrameContent {
    int32_t left = 0;
    int32_t top = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::shared_ptr<IndexedBitmap> indexed;
    std::shared_ptr<TrueColorBitmap> trueColor;
    Palette palette = EmptyPalette();
    int32_t usesLocalPalette = 1;
    int32_t transparent = 0;
    int32_t transparentIndex = 0;
    int32_t hasTransparentPixels = 1;
    int32_t indexedReady = 1;
    uint8_t bitsPerPixel = 8;

    // The same pixel buffers, geometry, palette and transparency.
    friend bool operator==(const FrameContent&, const FrameContent&) = default;
};

FrameContent ContentOf(const Gif& gif);
void SetContent(Gif& gif, FrameContent content);
// Exchanges the frame's content with `content`.
void SwapContent(Gif& gif, FrameContent& content);

// The bytes of pixels the content holds.
std::size_t ContentBytes(const FrameContent& content);

}  // namespace anitrope
