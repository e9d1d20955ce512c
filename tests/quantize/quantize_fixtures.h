#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/palette_entry.h"
#include "model/true_color_bitmap.h"

namespace anitrope::testing {

// A bitmap one pixel high: its single row is also the order in which columns are scanned.
inline std::unique_ptr<TrueColorBitmap> RowBitmap(const std::vector<uint32_t>& colors) {
    auto bitmap = std::make_unique<TrueColorBitmap>(static_cast<int32_t>(colors.size()), 1);
    for (size_t x = 0; x < colors.size(); ++x) bitmap->Set(static_cast<int32_t>(x), 0, colors[x]);
    return bitmap;
}

inline std::unique_ptr<TrueColorBitmap> FilledBitmap(int32_t width, int32_t height,
                                                     uint32_t color) {
    auto bitmap = std::make_unique<TrueColorBitmap>(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) bitmap->Set(x, y, color);
    }
    return bitmap;
}

inline uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red << 16 | green << 8 | blue;
}

inline PaletteEntry Entry(uint32_t color) {
    return {static_cast<int32_t>(color >> 16 & 0xFF), static_cast<int32_t>(color >> 8 & 0xFF),
            static_cast<int32_t>(color & 0xFF)};
}

}  // namespace anitrope::testing
