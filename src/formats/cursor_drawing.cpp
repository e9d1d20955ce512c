#include "formats/cursor_drawing.h"

#include <algorithm>
#include <cstddef>

namespace anitrope {
namespace {

uint8_t Blend(uint8_t colour, uint8_t alpha) {
    return static_cast<uint8_t>((colour * alpha + kCursorBackdrop * (255 - alpha) + 127) / 255);
}

}  // namespace

RgbaPicture DrawOverGrey(const IconImage& image) {
    RgbaPicture out = image.colour;
    const bool masked = !image.blendAlpha && image.mask.size() * 4 == out.pixels.size();
    for (std::size_t i = 0; i < out.pixels.size() / 4; ++i) {
        uint8_t* px = out.pixels.data() + 4 * i;
        if (image.blendAlpha) {
            for (int c = 0; c < 3; ++c) px[c] = Blend(px[c], px[3]);
        } else {
            const uint8_t screen = masked && image.mask[i] != 0 ? kCursorBackdrop : 0;
            for (int c = 0; c < 3; ++c) px[c] = static_cast<uint8_t>(screen ^ px[c]);
        }
        px[3] = 255;
    }
    return out;
}

RgbaPicture FitToCanvas(const RgbaPicture& picture, int32_t width, int32_t height) {
    if (picture.width == width && picture.height == height) return picture;
    RgbaPicture out{width, height, {}};
    out.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4,
                      kCursorBackdrop);
    for (std::size_t i = 3; i < out.pixels.size(); i += 4) out.pixels[i] = 255;
    const auto rowBytes = static_cast<std::size_t>(std::min(width, picture.width)) * 4;
    for (int32_t y = 0; y < std::min(height, picture.height); ++y)
        std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width * 4,
                    rowBytes, out.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width * 4);
    return out;
}

}  // namespace anitrope
