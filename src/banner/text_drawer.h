#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/true_color_bitmap.h"

namespace anitrope {

// The font of banner text, as the font chooser describes it: a character height in pixels
// (positive: the cell, ascent plus descent; negative: the em; 0: the drawer's default size),
// an average character width (0: the face's own), a weight on the 100-900 scale and a face,
// falling back to the family's usual face when the name is empty or not installed.
enum class FontFamily : uint8_t { DontCare, Roman, Swiss, Modern, Script, Decorative };
enum class FontPitch : uint8_t { Default, Fixed, Variable };
enum class FontQuality : uint8_t { Default, Draft, Proof, NonAntialiased, Antialiased };

struct FontDescription {
    int32_t height = 40;
    int32_t width = 0;
    int32_t weight = 700;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    FontQuality quality = FontQuality::Proof;
    FontPitch pitch = FontPitch::Variable;
    FontFamily family = FontFamily::Swiss;
    std::string faceName;

    bool operator==(const FontDescription&) const = default;
};

// A rectangle [left, right) x [top, bottom) of a bitmap.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

struct TextExtent {
    int32_t width = 0;   // the advance of the whole text
    int32_t height = 0;  // ascent plus descent of the font
};

// Draws single lines of text (UTF-8) into true-colour bitmaps: only the glyphs' pixels are
// painted, what lies between them stays. The text's top left corner is at (x, y).
class TextDrawer {
public:
    virtual ~TextDrawer() = default;

    virtual TextExtent Measure(const FontDescription& font, std::string_view text) = 0;
    // Paints into `target` within `clip` (already inside the bitmap) in 0x00RRGGBB `color`,
    // never setting TransparentBit.
    virtual void Draw(const FontDescription& font, std::string_view text, int32_t x, int32_t y,
                      uint32_t color, TrueColorBitmap& target, const PixelRect& clip) = 0;

    // Where drawing the text at (0, 0) may paint, when the drawer paints the same pixels,
    // moved along, wherever the text is put (whole pixels); none when it cannot say. Knowing
    // it lets the banner draw its shadowed text once and copy it into every frame.
    virtual std::optional<PixelRect> InkBounds(const FontDescription& font, std::string_view text) {
        (void)font;
        (void)text;
        return std::nullopt;
    }
};

}  // namespace anitrope
