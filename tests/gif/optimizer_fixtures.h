#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "model/screen_image.h"

namespace anitrope::test {

// A colour for each index that no other index comes within 5 per channel of, so that no two
// merge into one entry of a shared palette.
inline PaletteEntry DistinctColor(int index) {
    return {index * 7 % 256, (255 - index * 13 % 256), index * 29 % 256};
}

// Documents built frame by frame from index pictures, all on one global palette of distinct
// colours unless a frame is given a palette of its own.
class FrameBook {
public:
    FrameBook(int32_t screenWidth, int32_t screenHeight) {
        doc.screenWidth = screenWidth;
        doc.screenHeight = screenHeight;
        for (int i = 0; i < kPaletteSlots; ++i)
            doc.globalPalette[static_cast<std::size_t>(i)] = DistinctColor(i);
        doc.globalPalettePresent = 1;
    }

    // A frame whose pixel (x, y) has index pixel(x, y).
    Gif& Add(int32_t left, int32_t top, int32_t width, int32_t height,
             const std::function<uint8_t(int32_t, int32_t)>& pixel,
             uint32_t disposal = DisposalDoNotDispose) {
        Gif* last = doc.LastFrame();
        Gif* gif = CreateGif(doc, last, nullptr);
        (last ? last->next : doc.head) = gif;
        gif->left = left;
        gif->top = top;
        gif->width = static_cast<uint32_t>(width);
        gif->height = static_cast<uint32_t>(height);
        gif->usesLocalPalette = 0;
        gif->palette = doc.globalPalette;  // as the reader leaves frames without a table
        gif->disposal = disposal;
        gif->indexed = std::make_unique<IndexedBitmap>(gif, width, height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) gif->indexed->Set(x, y, pixel(x, y));
        return *gif;
    }

    // A screen-sized frame.
    Gif& AddFull(const std::function<uint8_t(int32_t, int32_t)>& pixel,
                 uint32_t disposal = DisposalDoNotDispose) {
        return Add(0, 0, doc.screenWidth, doc.screenHeight, pixel, disposal);
    }

    Animation doc;
};

// Every frame's display picture, composed afresh.
inline std::vector<ScreenImage> ComposeAll(Animation& doc) {
    Compositor compositor(doc, nullptr);
    std::vector<ScreenImage> pictures;
    for (Gif* g = doc.head; g; g = g->next) pictures.push_back(*compositor.GetDisplayBitmap(*g));
    return pictures;
}

// The largest difference of any channel of any pixel between two lists of pictures; -1 when
// their counts or sizes differ.
inline int LargestChannelDifference(const std::vector<ScreenImage>& a,
                                    const std::vector<ScreenImage>& b) {
    if (a.size() != b.size()) return -1;
    int largest = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].Width() != b[k].Width() || a[k].Height() != b[k].Height()) return -1;
        for (int32_t y = 0; y < a[k].Height(); ++y) {
            for (int32_t x = 0; x < a[k].Width(); ++x) {
                const uint32_t p = a[k].Get(x, y), q = b[k].Get(x, y);
                for (int shift : {0, 8, 16, 24}) {
                    const int d = static_cast<int>(p >> shift & 0xFF) -
                                  static_cast<int>(q >> shift & 0xFF);
                    largest = std::max(largest, d < 0 ? -d : d);
                }
            }
        }
    }
    return largest;
}

}  // namespace anitrope::test
