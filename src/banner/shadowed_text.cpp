#include "banner/shadowed_text.h"

#include <algorithm>
#include <array>

namespace anitrope {
namespace {

int32_t Channel(uint32_t color, int shift) { return static_cast<int32_t>((color >> shift) & 0xFF); }

// Per channel: base + numerator x (toward - base) / denominator, truncated toward zero as the
// arithmetic has always been, so that pale rings round toward the background.
uint32_t Between(uint32_t base, uint32_t toward, int64_t numerator, int64_t denominator) {
    uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        const int64_t b = Channel(base, shift);
        const int64_t value = b + numerator * (Channel(toward, shift) - b) / denominator;
        result |= static_cast<uint32_t>(std::clamp<int64_t>(value, 0, 255)) << shift;
    }
    return result;
}

}  // namespace

int32_t ShadowStep(int32_t style) { return style == kAboutShadowStyle ? 1 : 2; }

uint32_t FullShadowColor(uint32_t background, uint32_t shadow, int32_t intensity) {
    return Between(background, shadow, std::clamp(intensity, 0, 100), 100);
}

uint32_t ShadowRingColor(uint32_t background, uint32_t full, int32_t thickness, int32_t radius) {
    const int64_t t = std::max(thickness, 0);
    return Between(background, full, t - radius + 1, t + 1);
}

int32_t IntegerSquareRoot(int64_t value) {
    if (value <= 0) return 0;
    int64_t root = 0;
    for (int64_t bit = int64_t{1} << 30; bit > 0; bit >>= 1)
        if ((root + bit) * (root + bit) <= value) root += bit;
    return static_cast<int32_t>(root);
}

void DrawShadowedText(TextCanvas& canvas, std::string_view text, int32_t x, int32_t y,
                      const SoftShadow& shadow, uint32_t textColor, uint32_t backgroundColor,
                      uint32_t shadowColor) {
    if (text.empty() || !canvas.drawer || !canvas.target) return;
    auto draw = [&](int32_t atX, int32_t atY, uint32_t color) {
        canvas.drawer->Draw(canvas.font, text, atX, atY, color, *canvas.target, canvas.clip);
    };
    const int32_t step = ShadowStep(shadow.style);
    const int32_t t = std::max(shadow.thickness, 0);
    const uint32_t full = FullShadowColor(backgroundColor, shadowColor, shadow.intensity);
    const int32_t originX = x + shadow.dx;
    const int32_t originY = y + shadow.dy;

    for (int32_t radius = t; radius > 0; radius -= step) {
        const uint32_t ring = ShadowRingColor(backgroundColor, full, t, radius);
        for (int32_t d = 0;; d += step) {
            const int32_t e = IntegerSquareRoot(int64_t{radius} * radius - int64_t{d} * d);
            if (d > e) break;
            const std::array<std::array<int32_t, 2>, 8> points{{
                {d, -e}, {e, -d}, {e, d}, {d, e}, {-d, e}, {-e, d}, {-e, -d}, {-d, -e}}};
            // On the axes the eight points fall together in pairs: four suffice.
            const std::size_t stride = (d == 0 || e == 0) ? 2 : 1;
            for (std::size_t i = 0; i < points.size(); i += stride)
                draw(originX + points[i][0], originY + points[i][1], ring);
        }
    }
    draw(originX, originY, full);
    draw(x, y, textColor);
}

}  // namespace anitrope
