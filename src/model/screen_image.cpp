#include "model/screen_image.h"

#include <algorithm>

#include "model/picture_limits.h"

namespace anitrope {

ScreenImage::ScreenImage(int32_t width, int32_t height, uint32_t fill) {
    if (!PictureSizeAllowed(width, height)) return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void ScreenImage::Fill(uint32_t rgb) { std::fill(pixels_.begin(), pixels_.end(), rgb); }

void ScreenImage::SetPixelRef(int64_t x, int64_t y, ColorRef color) {
    if (Contains(x, y)) Set(static_cast<int32_t>(x), static_cast<int32_t>(y), RgbFromColorRef(color));
}

}  // namespace anitrope
