#pragma once

// Frames for the model tests. Frames appended to an Animation are freed with it; free-standing
// chains are held by a ChainGuard.

#include <cstdint>
#include <initializer_list>

#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/frame_chain.h"
#include "model/gif.h"

namespace anitrope::testing {

// Appends a frame of the given size with zeroed indexed pixels to the document's list.
inline Gif* AppendFrame(Animation& doc, uint32_t width, uint32_t height, int32_t left = 0,
                        int32_t top = 0) {
    Gif* last = doc.LastFrame();
    Gif* gif = CreateGif(doc, last, nullptr);
    if (last) {
        last->next = gif;
    } else {
        doc.head = gif;
    }
    AllocIndexed(*gif, width, height);
    gif->left = left;
    gif->top = top;
    return gif;
}

// Sets the indexed pixels row by row from `indices`.
inline void FillIndexed(Gif& gif, std::initializer_list<uint8_t> indices) {
    auto it = indices.begin();
    for (int32_t y = 0; y < gif.indexed->Height(); ++y)
        for (int32_t x = 0; x < gif.indexed->Width() && it != indices.end(); ++x)
            gif.indexed->Set(x, y, *it++);
}

// Sets the true-colour pixels row by row, giving the frame a bitmap of its size first.
inline void FillTrueColor(Gif& gif, std::initializer_list<uint32_t> pixels) {
    AllocTrueColor(gif);
    auto it = pixels.begin();
    for (int32_t y = 0; y < gif.trueColor->Height(); ++y)
        for (int32_t x = 0; x < gif.trueColor->Width() && it != pixels.end(); ++x)
            gif.trueColor->Set(x, y, *it++);
}

inline void SetSlot(Palette& palette, int slot, int32_t r, int32_t g, int32_t b) {
    palette[slot] = PaletteEntry{r, g, b};
}

// Owns a free-standing chain of frames.
struct ChainGuard {
    explicit ChainGuard(Gif* chain) : head(chain) {}
    ChainGuard(const ChainGuard&) = delete;
    ChainGuard& operator=(const ChainGuard&) = delete;
    ~ChainGuard() { DiscardFrames(head); }
    Gif* head;
};

}  // namespace anitrope::testing
