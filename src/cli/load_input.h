#pragma once

#include <iosfwd>
#include <string>

namespace anitrope {

struct Animation;

// Loads a GIF file into `animation` for a subcommand. On failure says why on `err` in one
// line naming the file and returns false.
bool LoadInput(const std::string& file, Animation& animation, std::ostream& err);

}  // namespace anitrope
