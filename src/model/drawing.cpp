#include "model/drawing.h"

#include <algorithm>
#include <array>

#include "model/animation.h"
#include "model/screen_image.h"

namespace anitrope {
namespace {

// The part of a width x height picture placed at (x, y) that falls on the screen, in picture
// coordinates: columns [x0, x1), rows [y0, y1).
struct Clip {
    int32_t x0, y0, x1, y1;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Clip ClipTo(const ScreenImage& screen, int64_t x, int64_t y, int32_t width, int32_t height) {
    auto range = [](int64_t at, int32_t length, int32_t limit, int32_t& from, int32_t& to) {
        from = static_cast<int32_t>(std::clamp<int64_t>(-at, 0, length));
        to = static_cast<int32_t>(std::clamp<int64_t>(int64_t{limit} - at, 0, length));
    };
    Clip c{};
    range(x, width, screen.Width(), c.x0, c.x1);
    range(y, height, screen.Height(), c.y0, c.y1);
    return c;
}

// Copies the clipped pixels through toRgb, leaving the screen pixel where `seeThrough`
// holds for the source pixel.
template <class Bitmap, class ToRgb, class SeeThrough>
void Blit(const Bitmap& bitmap, ScreenImage& screen, int64_t x, int64_t y, ToRgb toRgb,
          SeeThrough seeThrough) {
    if (!bitmap.HasRows()) return;
    const Clip c = ClipTo(screen, x, y, bitmap.Width(), bitmap.Height());
    if (c.Empty()) return;
    for (int32_t row = c.y0; row < c.y1; ++row) {
        uint32_t* out = screen.Row(static_cast<int32_t>(y + row)) + (x + c.x0);
        const auto* in = bitmap.Row(row);
        for (int32_t col = c.x0; col < c.x1; ++col, ++out)
            if (!seeThrough(in[col])) *out = toRgb(in[col]);
    }
}

constexpr auto kOpaque = [](auto) { return false; };
constexpr auto kTrueColorRgb = [](uint32_t p) { return p & 0xFFFFFF; };
constexpr auto kTrueColorSeeThrough = [](uint32_t p) { return (p & TransparentBit) != 0; };

}  // namespace

std::array<uint32_t, kPaletteSlots> FrameColorTable(const Gif& owner) {
    std::array<uint32_t, kPaletteSlots> table{};
    const Palette& applies = EffectivePalette(owner);
    for (int i = 0; i < kPaletteSlots; ++i)
        table[i] = owner.palette[i].IsUnused() ? 0 : PaletteRgb(applies[i]);
    return table;
}

int DrawIndexed(const Gif& frame, ScreenImage& screen, int64_t x, int64_t y) {
    return DrawIndexedOver(frame, screen, x, y, kNoTransparentIndex);
}

int DrawIndexedOver(const Gif& frame, ScreenImage& screen, int64_t x, int64_t y,
                    int32_t transparentIndex) {
    if (!frame.indexed) return 0;
    const IndexedBitmap& bitmap = *frame.indexed;
    const auto table = FrameColorTable(frame);
    const auto toRgb = [&](uint8_t index) { return table[index]; };
    const auto seeThrough = [&](uint8_t index) { return index == transparentIndex; };
    Blit(bitmap, screen, x, y, toRgb, seeThrough);
    return 1;
}

void DrawTrueColor(const TrueColorBitmap& bitmap, ScreenImage& screen, int64_t x, int64_t y) {
    Blit(bitmap, screen, x, y, kTrueColorRgb, kOpaque);
}

void DrawTrueColorOver(const TrueColorBitmap& bitmap, ScreenImage& screen, int64_t x, int64_t y) {
    Blit(bitmap, screen, x, y, kTrueColorRgb, kTrueColorSeeThrough);
}

void FillRect(ScreenImage& screen, int64_t x, int64_t y, int32_t width, int32_t height,
              uint32_t rgb) {
    const Clip c = ClipTo(screen, x, y, width, height);
    if (c.Empty()) return;
    for (int32_t row = c.y0; row < c.y1; ++row) {
        uint32_t* out = screen.Row(static_cast<int32_t>(y + row)) + (x + c.x0);
        std::fill(out, out + (c.x1 - c.x0), rgb);
    }
}

void CaptureTrueColor(TrueColorBitmap& bitmap, const ScreenImage& screen, bool bottomUp) {
    if (!bitmap.HasRows()) return;
    const int32_t width = std::min(bitmap.Width(), screen.Width());
    const int32_t height = std::min(bitmap.Height(), screen.Height());
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* in = screen.Row(bottomUp ? height - 1 - y : y);
        std::copy(in, in + width, bitmap.Row(y));
    }
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        uint32_t* row = bitmap.Row(y);
        for (int32_t x = 0; x < bitmap.Width(); ++x) row[x] &= 0xFFFFFF;
    }
}

}  // namespace anitrope
