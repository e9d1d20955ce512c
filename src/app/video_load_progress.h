#pragma once

#include <cstdint>

namespace anitrope {

// The "Loading AVI ..." window of one import: told before each frame is read, it shows
// "Loading Frame %d [%d of %d]" and answers false once the user pressed "&Cancel" (the frames
// read so far are kept).
class VideoLoadProgress {
public:
    virtual ~VideoLoadProgress() = default;
    virtual bool Step(int64_t index, int64_t ordinal, int64_t total) = 0;
};

}  // namespace anitrope
