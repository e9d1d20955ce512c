#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <string>

#include "banner/text_drawer.h"

namespace anitrope {

// The banner's font as Qt's font engine takes it, and back (for the font chooser).
QFont ToQFont(const FontDescription& font);
FontDescription FromQFont(const QFont& font);

// Text through Qt's font engine (any installed font and script). Fonts need a running
// QGuiApplication (the offscreen platform will do): without one the drawer measures nothing
// and draws nothing, so callers ask Available() first.
//
// A soft shadow draws one text dozens of times per frame in a few colours: the glyphs are
// rendered once into a coverage mask, kept while font and text stay, and each draw blends
// that mask in its colour as the font engine's own antialiasing would.
class QtTextDrawer : public TextDrawer {
public:
    static bool Available();

    TextExtent Measure(const FontDescription& font, std::string_view text) override;
    void Draw(const FontDescription& font, std::string_view text, int32_t x, int32_t y,
              uint32_t color, TrueColorBitmap& target, const PixelRect& clip) override;
    std::optional<PixelRect> InkBounds(const FontDescription& font, std::string_view text) override;

private:
    const QFont& FontFor(const FontDescription& font);
    // False when the mask would be too large: the text is then drawn straight into bitmaps.
    bool RenderMask(const FontDescription& font, std::string_view text);
    void DrawDirect(const QFont& font, const QString& text, int32_t x, int32_t y, uint32_t color,
                    TrueColorBitmap& target, const QRect& area);

    FontDescription fontKey_;
    bool haveFont_ = false;
    QFont font_;
    std::string maskText_;
    FontDescription maskFont_;
    bool haveMask_ = false;
    QImage mask_;        // coverage of the glyphs, 0-255
    QPoint maskOrigin_;  // the mask's top left, from the text's top left
};

}  // namespace anitrope
