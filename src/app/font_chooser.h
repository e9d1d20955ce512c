#pragma once

#include <cstdint>
#include <optional>

#include "banner/text_drawer.h"

namespace anitrope {

// A font with the colour its text is drawn in, as the font chooser offers them together.
struct FontChoice {
    FontDescription font;
    uint32_t color = 0;  // 0x00RRGGBB
};

// The platform's font chooser, for screen fonts with their effects (underline, strike-out,
// colour). Nothing is returned when the user cancels. The editor uses Qt's; tests answer from
// a script.
class FontChooser {
public:
    virtual ~FontChooser() = default;
    virtual std::optional<FontChoice> Choose(const FontChoice& initial) = 0;
};

}  // namespace anitrope
