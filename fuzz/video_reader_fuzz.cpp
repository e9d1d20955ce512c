// Feeds arbitrary bytes to the video reader and reads a few frames backwards, then the last
// one. Besides the sanitizers' findings, a stream whose description breaks the picture limits,
// a frame of another size or kind than the stream's, a true-colour pixel with its top byte set
// and a failure without a message abort. FFmpeg itself is not instrumented: coverage guides
// through our side only.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/video_stream.h"
#include "model/picture_limits.h"

namespace {

// Reading stays bounded: at most this many frames, and pixels in all.
constexpr int64_t kMaxFrames = 8;
constexpr int64_t kMaxPixels = int64_t{1} << 23;

void RequireSound(const anitrope::VideoInfo& info, const anitrope::VideoPicture& picture) {
    if (picture.width != info.width || picture.height != info.height) std::abort();
    const auto pixels =
        static_cast<std::size_t>(info.width) * static_cast<std::size_t>(info.height);
    if (info.paletted) {
        if (picture.trueColor || picture.indices.size() != pixels) std::abort();
        return;
    }
    const auto& bitmap = picture.trueColor;
    if (!bitmap || bitmap->Width() != info.width || bitmap->Height() != info.height) std::abort();
    for (int32_t y = 0; y < info.height; ++y)
        for (int32_t x = 0; x < info.width; ++x)
            if (bitmap->Row(y)[x] >> 24) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string error;
    const auto video = anitrope::OpenVideoBytes(std::span<const uint8_t>(data, size), &error);
    if (!video) {
        if (error.empty()) std::abort();
        return 0;
    }
    const anitrope::VideoInfo& info = video->Info();
    if (info.length <= 0 || info.width <= 0 || info.height <= 0 ||
        !anitrope::PictureSizeAllowed(info.width, info.height))
        std::abort();
    const int64_t area = int64_t{info.width} * info.height;
    const int64_t count =
        std::min({info.length, kMaxFrames, std::max<int64_t>(1, kMaxPixels / area)});
    for (int64_t k = count - 1; k >= -1; --k) {
        const int64_t index = info.first + (k >= 0 ? k : info.length - 1);
        const auto picture = video->FrameAt(index);
        if (picture) {
            RequireSound(info, *picture);
        } else if (video->Error().empty()) {
            std::abort();
        }
    }
    return 0;
}
