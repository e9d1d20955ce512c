#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace anitrope {

// The platform's colour chooser. Colours are 0x00RRGGBB. Nothing is returned when the user
// cancels. The editor uses Qt's; tests answer from a script.
class ColorChooser {
  public:
    virtual ~ColorChooser() = default;
    virtual std::optional<uint32_t> Choose(uint32_t initialRgb, const std::string& title) = 0;
};

}  // namespace anitrope
