#pragma once

#include <optional>
#include <string_view>

namespace anitrope {

// A whole decimal number from lowest to highest, or nothing for any other text.
std::optional<int> ParseNumber(std::string_view text, int lowest, int highest);

}  // namespace anitrope
