#pragma once

#include <string>
#include <string_view>

namespace anitrope {

// Appends `bytes` to `out` as a quoted JSON string. GIF comments may hold any bytes, so
// the result stays valid JSON whatever comes in: quote and backslash get a backslash,
// control characters become \u00XX, well-formed UTF-8 passes through, and every byte that
// is not part of a well-formed UTF-8 sequence becomes \u00XX of that byte.
void AppendJsonString(std::string& out, std::string_view bytes);

// The same, returned as a new string.
std::string JsonString(std::string_view bytes);

}  // namespace anitrope
