#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace anitrope {

// Replaces `path` with `bytes` so that it is never seen half-written: the bytes go to a
// temporary file beside it, every write and the close are checked, and only then is it
// renamed over the target. On failure the previous file is untouched, the temporary file is
// removed and false returned. A symbolic link is followed: the file it names is replaced.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace anitrope
