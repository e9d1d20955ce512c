#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "gif/gif_read_status.h"
#include "model/animation.h"
#include "model/picture_limits.h"

namespace anitrope {

struct Gif;

// Bounds on what one read may allocate.
struct GifReadLimits {
    int64_t maxDimension = kMaxPictureDimension;
    int64_t maxPixels = kMaxPicturePixels;
    // Frame records plus indexed pixels of all frames of one file.
    std::size_t maxTotalBytes = std::size_t{1} << 30;
};

// What reading a file gave: on success a document of its own holding the frames (each named
// after the file) and the file's animation-wide values, its screen the file's logical screen.
struct GifReadResult {
    GifReadStatus status = GifReadStatus::Ok;
    std::unique_ptr<Animation> animation;  // null unless status is Ok
};

// Reads a GIF87a/89a file. A failure before the first image is complete gives its status and
// nothing else. A failure after it ends the read with Ok: the frames read so far stay, a
// damaged tail is dropped. Nothing outside the result changes, so the caller decides what to
// do with it (a document opened, frames inserted through an edit).
GifReadResult ReadGifFile(const std::string& path, const GifReadLimits& limits = {});

// The same over bytes in memory; `name` becomes the frames' name.
GifReadResult ReadGifBytes(std::span<const uint8_t> bytes, const std::string& name,
                           const GifReadLimits& limits = {});

// Reads a file into a document, replacing what it held: the frames become its list and the
// screen becomes the bounding box of all frames. On failure the document is unchanged.
GifReadStatus LoadGifDocument(Animation& animation, const std::string& path,
                              const GifReadLimits& limits = {});

}  // namespace anitrope
