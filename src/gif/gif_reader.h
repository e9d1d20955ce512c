#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "gif/gif_read_status.h"
#include "model/picture_limits.h"

namespace anitrope {

struct Animation;
struct Gif;

// Bounds on what one read may allocate.
struct GifReadLimits {
    int64_t maxDimension = kMaxPictureDimension;
    int64_t maxPixels = kMaxPicturePixels;
    // Frame records plus indexed pixels of all frames of one file.
    std::size_t maxTotalBytes = std::size_t{1} << 30;
};

// Reads a GIF87a/89a file into `first` and the frames it chains after it. `first` comes
// from CreateGif with the neighbours of the insertion point; the chain links to them but the
// neighbours are not patched (linking the chain in is the caller's). Animation-wide values
// (screen when the document is empty, background, global palette, loop count, global
// comments) go into `animation`.
//
// A failure before the first image is complete returns its status and leaves `first` for
// the caller to destroy. A failure after it ends the read with Ok: the frames read so far
// stay, a damaged tail is dropped.
GifReadStatus ReadGifFile(Animation& animation, Gif& first, const std::string& path,
                          const GifReadLimits& limits = {});

// The same over bytes in memory; `name` becomes the frames' name.
GifReadStatus ReadGifBytes(Animation& animation, Gif& first, std::span<const uint8_t> bytes,
                           const std::string& name, const GifReadLimits& limits = {});

// Reads a file into a document, replacing what it held: the frames become its list (the
// first selected) and the screen becomes the bounding box of all frames. With a compositor
// attached, the first frame is composed at once and the others are queued. On failure the
// document is unchanged.
GifReadStatus LoadGifDocument(Animation& animation, const std::string& path,
                              const GifReadLimits& limits = {});

}  // namespace anitrope
