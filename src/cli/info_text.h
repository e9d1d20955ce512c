#pragma once

#include <iosfwd>
#include <string_view>

namespace anitrope {

struct Animation;

// The human-readable block `info` prints for one loaded file.
void WriteInfoText(const Animation& animation, std::string_view file, std::ostream& out);

}  // namespace anitrope
