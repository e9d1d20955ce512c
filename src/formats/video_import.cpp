#include "formats/video_import.h"

#include <cstring>
#include <memory>
#include <new>

#include "model/animation.h"
#include "model/gif.h"
#include "model/picture_frame.h"

namespace anitrope {
namespace {

std::string Number(int64_t value) { return std::to_string(value); }

// The stream's indices and palette as they are: nothing for the reduction to do.
bool SetIndexedPicture(Gif& gif, const VideoPicture& picture) {
    auto bitmap = std::make_shared<IndexedBitmap>(&gif, picture.width, picture.height);
    if (!bitmap->HasRows()) return false;
    const auto width = static_cast<std::size_t>(picture.width);
    for (int32_t y = 0; y < picture.height; ++y)
        std::memcpy(bitmap->Row(y), picture.indices.data() + static_cast<std::size_t>(y) * width,
                    width);
    gif.width = static_cast<uint32_t>(picture.width);
    gif.height = static_cast<uint32_t>(picture.height);
    gif.indexed = std::move(bitmap);
    gif.palette = picture.palette;
    gif.usesLocalPalette = 1;
    gif.bitsPerPixel = 8;
    SetIndexedReady(gif, 1);
    return true;
}

bool SetVideoPicture(Gif& gif, VideoPicture& picture) {
    if (picture.trueColor) return SetPicture(gif, std::move(picture.trueColor));
    const std::size_t pixels =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    return picture.width > 0 && picture.height > 0 && picture.indices.size() == pixels &&
           SetIndexedPicture(gif, picture);
}

}  // namespace

std::string VideoContentsText(const VideoInfo& info) {
    return "This AVI contains " + Number(info.length) + " Frames where the first frame has index " +
           Number(info.first) + " and the last frame has index " +
           Number(info.first + info.length - 1) + ".";
}

std::optional<std::string> VideoRangeProblem(const VideoInfo& info, const VideoRange& range) {
    if (range.all) return std::nullopt;
    const int64_t n = range.count, f = range.first, s = info.first, l = info.length;
    if (n <= 0) return "The number of Frames must be greater than 0.";
    if (n > l) return "The AVI contains only " + Number(l) + " frames.";
    if (f < s || f >= s + l)
        return "The AVI-frame indizes range from " + Number(s) + " to " + Number(s + l - 1) + ".";
    // With n <= l and f inside the stream neither sum below can overflow.
    if (range.reverse && f - n + 1 < s)
        return "The first frame index is too small or the number of frames is too high.";
    if (!range.reverse && f + n > s + l)
        return "The first frame index is too high or the number of frames is too high.";
    return std::nullopt;
}

std::vector<int64_t> VideoRangeIndices(const VideoInfo& info, const VideoRange& range) {
    const int64_t s = info.first, l = info.length;
    const int64_t count = range.all ? l : range.count;
    const int64_t start = range.all ? (range.reverse ? s + l - 1 : s) : range.first;
    const int64_t step = range.reverse ? -1 : 1;
    // A range the checks refuse ends where the stream does, so that nothing asks for a list
    // longer than the stream.
    std::vector<int64_t> indices;
    for (int64_t i = start; count > 0 && i >= s && i - s < l; i += step) {
        indices.push_back(i);
        if (static_cast<int64_t>(indices.size()) == count) break;
    }
    return indices;
}

VideoRun ReadVideoRun(VideoStream& stream, const VideoRange& range, const NewVideoFrame& newFrame,
                      std::optional<std::pair<int32_t, int32_t>> size,
                      const VideoProgress& progress) {
    VideoRun run;
    const std::vector<int64_t> indices = VideoRangeIndices(stream.Info(), range);
    const auto total = static_cast<int64_t>(indices.size());
    Gif* last = nullptr;
    for (int64_t ordinal = 1; ordinal <= total; ++ordinal) {
        const int64_t index = indices[static_cast<std::size_t>(ordinal - 1)];
        if (progress && !progress(index, ordinal, total)) break;
        std::optional<VideoPicture> picture = stream.FrameAt(index);
        if (!picture) {
            run.error = stream.Error();
            break;
        }
        Gif* gif = newFrame();
        if (!gif) {
            run.error = "out of memory";
            break;
        }
        if (!SetVideoPicture(*gif, *picture)) run.error = "out of memory";
        if (run.error.empty() && size && !FitPictureFrame(*gif, size->first, size->second))
            run.error = "cannot be scaled to " + Number(size->first) + " x " + Number(size->second);
        if (!run.error.empty()) {
            DiscardGif(gif);
            run.error = "frame " + Number(index) + ": " + run.error;
            break;
        }
        gif->prev = last;
        if (last)
            last->next = gif;
        else
            run.frames.reset(gif);
        last = gif;
        run.indices.push_back(index);
    }
    return run;
}

}  // namespace anitrope
