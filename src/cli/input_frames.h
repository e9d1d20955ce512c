#pragma once

#include <iosfwd>
#include <string>

namespace anitrope {

struct Animation;

// Appends the frames of `path` at the end of `animation`: every frame of a GIF file (with its
// timing, disposal and palettes), one frame per still picture and one per step of an
// animated cursor, each of those shown `pictureDelay` hundredths of a second. The first
// input gives the screen its size; frames of later inputs of another size are scaled onto
// it (the frames of a GIF all by the one ratio). New pixels are reduced by the document's
// workers, which must be attached. On failure says why on `err` in one line naming the file,
// leaves the document as it was and returns false.
bool AppendInputFrames(const std::string& path, Animation& animation, int pictureDelay,
                       std::ostream& err);

}  // namespace anitrope
