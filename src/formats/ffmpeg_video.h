#pragma once

#include <cstdint>

#include "formats/video_stream.h"

namespace anitrope {

// How many pictures FFmpeg has decoded for a stream of OpenVideoFile or OpenVideoBytes since
// it was opened, wanted or not: what reading its frames in some order costs. 0 for any other
// stream.
int64_t DecodedPictureCount(const VideoStream& stream);

}  // namespace anitrope
