#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/palette_entry.h"
#include "model/true_color_bitmap.h"

namespace anitrope {

// The video stream of a file (AVI, MP4, WebM, MKV, MOV, ...), as the importer sees it: frames
// numbered in decode order from `first`, all of one size.
struct VideoInfo {
    int32_t width = 0;
    int32_t height = 0;
    int64_t first = 0;   // index of the first frame
    int64_t length = 0;  // number of frames
    std::string codec;   // the decoder's short name: "rawvideo", "mjpeg", "h264", ...
    double framesPerSecond = 0;
    bool paletted = false;  // 8-bit indices with a palette: kept exactly, not reduced
};

// One decoded frame: indices and palette for a paletted stream, true colour otherwise.
struct VideoPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> indices;  // paletted: width x height, rows top first
    Palette palette = EmptyPalette();
    std::unique_ptr<TrueColorBitmap> trueColor;  // not paletted
};

// An open video stream. Hostile files are expected: sizes are checked against the picture
// limits before a frame is allocated, and every failure is a clear error, never a crash.
class VideoStream {
public:
    virtual ~VideoStream() = default;

    const VideoInfo& Info() const { return info_; }
    // The frame at `index` (first <= index < first + length), exactly that frame whatever was
    // read before: forwards, backwards or at random. Nothing when it cannot be decoded.
    virtual std::optional<VideoPicture> FrameAt(int64_t index) = 0;
    // Why the last call failed, for messages and logs.
    const std::string& Error() const { return error_; }

protected:
    VideoInfo info_;
    std::string error_;
};

// Opens the first video stream of a file, or of a file held in memory (which must outlive
// the stream). Null when there is none or it cannot be decoded; `error` says why.
std::unique_ptr<VideoStream> OpenVideoFile(const std::string& path, std::string* error = nullptr);
std::unique_ptr<VideoStream> OpenVideoBytes(std::span<const uint8_t> bytes,
                                            std::string* error = nullptr);

}  // namespace anitrope
