#pragma once

#include <cstdint>
#include <string>


namespace anitrope {

struct Animation;
struct Gif;
class ByteSink;
class LzwEncoder;
class StatusDisplay;

// Outcome of writing a GIF file; the numbers are stable.
enum class GifWriteStatus : int {
    Ok = 0,
    CannotWrite = 1,   // the file could not be created, written or put in place
    FramePending = 2,  // a frame still awaits its colour reduction: its pixels are not its own
    AviFailed = 8,
};

// Writes the chain starting at `first` as one GIF89a file, with the document's screen,
// global palette, loop count and comments, exactly as the frames are: a caller that wants the
// file optimized optimizes first (see OptimizedCopy). Every frame must have its reduction
// done. The file is replaced only when everything was written; otherwise the previous file is
// untouched. Progress goes to `status` ("Saving Img %d/%d") when given.
GifWriteStatus SaveAnimation(const Animation& animation, const Gif* first, const std::string& path,
                             StatusDisplay* status = nullptr);

// Writes one frame as a file of its own: no graphic control, looping or global comments; the
// screen is the document's and the frame keeps its position.
GifWriteStatus SaveSingleGif(const Animation& animation, const Gif& frame, const std::string& path);

// The building blocks, writing into memory. With `chain` the frames after `frame` follow it
// into the file, and the global colour table covers them too.
void WriteGifHeader(const Animation& animation, const Gif& frame, ByteSink& out, bool chain = false);
void WriteLoopingExtension(const Animation& animation, ByteSink& out);
void WriteComment(const std::string& text, ByteSink& out);
void WriteGraphicControl(const Animation& animation, const Gif& frame, ByteSink& out);
void WriteGifImage(const Gif& frame, LzwEncoder& encoder, ByteSink& out);

}  // namespace anitrope
