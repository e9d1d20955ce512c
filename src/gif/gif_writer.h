#pragma once

#include <cstdint>
#include <string>

#include "gif/comparison_mask.h"

namespace anitrope {

struct Animation;
struct Gif;
class ByteSink;
class LzwEncoder;
class OptimizeProgress;

// The save dialog's choices that shape an animation file.
struct SaveOptions {
    // "Save &Opimized": the frames are optimized in place before they are written (see
    // OptimizeAnimation), so pass a copy to keep the document as it is.
    bool optimized = false;
    uint32_t comparisonMask = kDefaultComparisonMask;  // "Gif Compression"
    OptimizeProgress* progress = nullptr;
};

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
GifWriteStatus SaveAnimation(Animation& animation, Gif* first, const std::string& path,
                             const SaveOptions& options);

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
