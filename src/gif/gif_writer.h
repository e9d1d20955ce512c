#pragma once

#include <string>

namespace anitrope {

struct Animation;
struct Gif;
class ByteSink;
class LzwEncoder;

// Outcome of writing a GIF file; the numbers are stable.
enum class GifWriteStatus : int {
    Ok = 0,
    CannotWrite = 1,  // the file could not be created, written or put in place
    AviFailed = 8,
};

// Writes the chain starting at `first` as one GIF89a file, with the document's screen,
// global palette, loop count and comments. The file is replaced only when everything was
// written; otherwise the previous file is untouched.
GifWriteStatus SaveAnimation(const Animation& animation, Gif* first, const std::string& path);

// Writes one frame as a file of its own: no graphic control, looping or global comments; the
// screen is the document's and the frame keeps its position.
GifWriteStatus SaveSingleGif(const Animation& animation, Gif& frame, const std::string& path);

// The building blocks, writing into memory.
void WriteGifHeader(const Animation& animation, const Gif& frame, ByteSink& out);
void WriteLoopingExtension(const Animation& animation, ByteSink& out);
void WriteComment(const std::string& text, ByteSink& out);
void WriteGraphicControl(const Animation& animation, const Gif& frame, ByteSink& out);
void WriteGifImage(Gif& frame, LzwEncoder& encoder, ByteSink& out);

}  // namespace anitrope
