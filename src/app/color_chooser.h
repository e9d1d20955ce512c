#pragma once

#include <array>
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
    // The same, offering sixteen custom colours the caller keeps between choices; they come
    // back as the user left them, whether a colour was chosen or not.
    virtual std::optional<uint32_t> ChooseWithCustom(uint32_t initialRgb, const std::string& title,
                                                     std::array<uint32_t, 16>& custom) {
        (void)custom;
        return Choose(initialRgb, title);
    }
};

}  // namespace anitrope
