#pragma once

#include <cstdint>
#include <vector>

namespace anitrope {

// Colours handed to drawing and returned by ColorBelow: red | green << 8 | blue << 16.
// -1 means no colour.
using ColorRef = int32_t;
inline constexpr ColorRef kNoColor = -1;
// Shown where no earlier frame lies beneath a transparent pixel.
inline constexpr ColorRef kNothingBeneath = 0x808080;
// The same in a composed screen image: grey 0x808080 with 0x01 in the otherwise unused top
// byte. A view that ignores the top byte shows grey; an export can tell exactly these pixels
// (nothing was ever drawn there) apart from frame pixels of the same grey.
inline constexpr uint32_t kNothingBeneathPixel = 0x01808080;

inline constexpr ColorRef MakeColorRef(int r, int g, int b) {
    return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
}

// A plain 32-bit drawing surface, our stand-in for a device context with a bitmap selected:
// pixels 0x00RRGGBB, rows top first. Drawing outside it is clipped.
class ScreenImage {
public:
    ScreenImage() = default;
    ScreenImage(int32_t width, int32_t height, uint32_t fill = 0);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    uint32_t* Row(int32_t y) { return pixels_.data() + int64_t{y} * width_; }
    const uint32_t* Row(int32_t y) const { return pixels_.data() + int64_t{y} * width_; }
    uint32_t Get(int32_t x, int32_t y) const { return Row(y)[x]; }
    void Set(int32_t x, int32_t y, uint32_t rgb) { Row(y)[x] = rgb; }
    void Fill(uint32_t rgb);
    // Sets one pixel from a ColorRef, clipped, as single-pixel drawing does.
    void SetPixelRef(int64_t x, int64_t y, ColorRef color);

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
};

inline uint32_t RgbFromColorRef(ColorRef c) {
    auto u = static_cast<uint32_t>(c);
    return (u & 0xFF) << 16 | (u & 0xFF00) | (u >> 16 & 0xFF);
}
inline ColorRef ColorRefFromRgb(uint32_t rgb) {
    return static_cast<ColorRef>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

}  // namespace anitrope
