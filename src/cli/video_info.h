#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace anitrope {

struct VideoInfo;

// Whether `info` and `convert` read the file as a video (AVI, MP4, MOV, MKV, WebM), by its
// extension in any case.
bool IsVideoFile(const std::string& path);

// The block `info` prints for a video: size, frames and their indices, codec, frame rate.
void WriteVideoInfoText(const VideoInfo& info, std::string_view file, std::ostream& out);

// The same as the one-line JSON object of `info --json` (without the newline).
std::string VideoInfoJson(const VideoInfo& info, std::string_view file);

}  // namespace anitrope
