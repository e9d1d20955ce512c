#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace anitrope {

struct Animation;

// The frames of a video input to read: every one, unless a first index or a count is given;
// then the one left out takes the "Load AVI" dialog's preset (the stream's first index, its
// length) and the dialog's checks judge the range.
struct VideoSelection {
    std::optional<int64_t> first;
    std::optional<int64_t> count;
    bool reverse = false;
};

// Appends the frames of `path` at the end of `animation`: every frame of a GIF file (with its
// timing, disposal and palettes), one frame per still picture and one per step of an
// animated cursor, each of those shown `pictureDelay` hundredths of a second, and the
// `video` frames of an AVI, MP4, MOV, MKV or WebM video, each shown as long as the video
// shows it (`pictureDelay` when it has no frame rate). The first input gives the screen its
// size; frames of later inputs of another size are scaled onto it (the frames of a GIF all by
// the one ratio). New pixels are reduced by the document's workers, which must be attached.
// On failure says why on `err` in one line naming the file and leaves the document as it was.
// Returns kExitOk, kExitFailure when the file cannot be read, or kExitUsage for a video range
// the dialog would refuse.
int AppendInputFrames(const std::string& path, Animation& animation, int pictureDelay,
                      std::ostream& err, const VideoSelection& video = {});

}  // namespace anitrope
