#include "cli/number_option.h"

#include <charconv>

namespace anitrope {

std::optional<int> ParseNumber(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

}  // namespace anitrope
