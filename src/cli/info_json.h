#pragma once

#include <string>
#include <string_view>

namespace anitrope {

struct Animation;

// The one-line JSON object `info --json` prints for one loaded file (without the newline).
std::string InfoJson(const Animation& animation, std::string_view file);

}  // namespace anitrope
