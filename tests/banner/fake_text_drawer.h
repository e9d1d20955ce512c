#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "banner/banner_settings.h"
#include "banner/text_drawer.h"

namespace anitrope {

// Text as solid boxes: `charWidth` pixels per character, as tall as the font's height (16 when
// it has none). Remembers every draw, in order.
class FakeTextDrawer : public TextDrawer {
public:
    struct Call {
        std::string text;
        int32_t x;
        int32_t y;
        uint32_t color;
        const TrueColorBitmap* target;
    };

    explicit FakeTextDrawer(int32_t charWidth = 10) : charWidth_(charWidth) {}

    TextExtent Measure(const FontDescription& font, std::string_view text) override {
        ++measures;
        const auto chars = static_cast<int32_t>(CharacterCount(std::string(text)));
        return {chars * charWidth_, font.height == 0 ? 16 : std::abs(font.height)};
    }

    void Draw(const FontDescription& font, std::string_view text, int32_t x, int32_t y,
              uint32_t color, TrueColorBitmap& target, const PixelRect& clip) override {
        calls.push_back({std::string(text), x, y, color, &target});
        const TextExtent extent = Measure(font, text);
        --measures;
        for (int32_t row = std::max(y, clip.top); row < std::min(y + extent.height, clip.bottom);
             ++row)
            for (int32_t col = std::max(x, clip.left);
                 col < std::min(x + extent.width, clip.right); ++col)
                target.Set(col, row, color);
    }

    // Says where its boxes go, which lets the banner copy one drawing into every frame.
    std::optional<PixelRect> InkBounds(const FontDescription& font, std::string_view text) override {
        if (!sameEverywhere) return std::nullopt;
        const TextExtent extent = Measure(font, text);
        --measures;
        return PixelRect{0, 0, extent.width, extent.height};
    }

    std::vector<Call> calls;
    int measures = 0;
    bool sameEverywhere = false;

private:
    int32_t charWidth_;
};

}  // namespace anitrope
