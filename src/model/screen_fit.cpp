#include "model/screen_fit.h"

#include <algorithm>

#include "model/gif.h"
#include "model/resize.h"

namespace anitrope {

void ScaleFramesToScreen(std::span<Gif* const> frames, int64_t screenWidth, int64_t screenHeight) {
    int64_t right = 1, bottom = 1;
    for (const Gif* g : frames) {
        right = std::max(right, int64_t{g->left} + g->width);
        bottom = std::max(bottom, int64_t{g->top} + g->height);
    }
    const double fx = static_cast<double>(screenWidth) / static_cast<double>(right);
    const double fy = static_cast<double>(screenHeight) / static_cast<double>(bottom);
    auto scaled = [](double v) { return static_cast<int32_t>(std::max(1.0, v + 0.5)); };
    for (Gif* g : frames) {
        const auto left = static_cast<int32_t>(g->left * fx + 0.5);
        const auto top = static_cast<int32_t>(g->top * fy + 0.5);
        if (ResizeGif(*g, scaled(g->width * fx), scaled(g->height * fy), true, true)) {
            g->left = left;
            g->top = top;
        }
    }
}

}  // namespace anitrope
