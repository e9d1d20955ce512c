#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/video_stream.h"
#include "model/frame_chain.h"

namespace anitrope {

struct Gif;

// Which frames to load, as the "Load AVI" dialog asks: `count` frames from index `first`,
// forwards or (reverse) backwards, or every frame of the stream.
struct VideoRange {
    int64_t count = 0;
    int64_t first = 0;
    bool all = false;
    bool reverse = false;
};

// "This AVI contains %d Frames where the first frame has index %d and the last frame has
// index %d."
std::string VideoContentsText(const VideoInfo& info);

// The first of the dialog's checks that the range fails, in its order ("The number of Frames
// must be greater than 0.", "The AVI contains only %d frames.", ...); none when it is loadable
// (always none for `all`).
std::optional<std::string> VideoRangeProblem(const VideoInfo& info, const VideoRange& range);

// The frame indices the range reads, in reading order.
std::vector<int64_t> VideoRangeIndices(const VideoInfo& info, const VideoRange& range);

// Told before each frame is read: its index, its place in the run (from 1) and the run's
// length. False stops the reading; the frames read so far are kept.
using VideoProgress = std::function<bool(int64_t index, int64_t ordinal, int64_t total)>;
// A new frame, linked to nothing, of the animation the video goes into.
using NewVideoFrame = std::function<Gif*()>;

struct VideoRun {
    FrameChain frames;             // linked in reading order; null when none was read
    std::vector<int64_t> indices;  // the stream index of each frame, for the tree's labels
    std::string error;             // why reading stopped early, if it did
};

// Reads the range's frames one by one into new frames: a paletted stream gives indexed frames
// with their own palette (ready, nothing to reduce); others give pending true colour. Frames
// of another size than width x height (when given) are scaled to it. Reading stops at the
// first frame that fails, or when `progress` says so.
VideoRun ReadVideoRun(VideoStream& stream, const VideoRange& range, const NewVideoFrame& newFrame,
                      std::optional<std::pair<int32_t, int32_t>> size = std::nullopt,
                      const VideoProgress& progress = {});

}  // namespace anitrope
