#pragma once

#include <QFont>

#include "banner/text_drawer.h"

namespace anitrope {

// The banner's font as Qt's font engine takes it, and back (for the font chooser).
QFont ToQFont(const FontDescription& font);
FontDescription FromQFont(const QFont& font);

// Text through Qt's font engine (any installed font and script). Fonts need a running
// QGuiApplication (the offscreen platform will do): without one the drawer measures nothing
// and draws nothing, so callers ask Available() first.
class QtTextDrawer : public TextDrawer {
public:
    static bool Available();

    TextExtent Measure(const FontDescription& font, std::string_view text) override;
    void Draw(const FontDescription& font, std::string_view text, int32_t x, int32_t y,
              uint32_t color, TrueColorBitmap& target, const PixelRect& clip) override;
};

}  // namespace anitrope
