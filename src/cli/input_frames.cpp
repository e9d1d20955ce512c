#include "cli/input_frames.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/command.h"
#include "cli/video_info.h"
#include "formats/picture_file.h"
#include "formats/picture_format.h"
#include "formats/still_picture.h"
#include "formats/video_import.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/picture_frame.h"
#include "model/screen_fit.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

Gif* LastFrame(const Animation& animation) {
    Gif* last = animation.head;
    while (last && last->next) last = last->next;
    return last;
}

// A file is read as GIF when its name says so, or says nothing and its first bytes do.
bool IsGifFile(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    if (FormatOfExtension(extension) != PictureFormat::Gif) return false;
    if (Upper(extension) == "GIF") return true;
    FileBytes file;
    if (!file.Open(path)) return true;  // the GIF reader says why it cannot be read
    const auto bytes = file.Bytes();
    return bytes.size() >= 3 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F';
}

bool AppendGif(const std::string& path, Animation& animation, std::ostream& err) {
    // The first file is the document itself; later ones are read aside and moved over.
    Animation scratch;
    Animation& target = animation.head ? scratch : animation;
    const GifReadStatus status = LoadGifDocument(target, path);
    if (status != GifReadStatus::Ok) {
        err << kProgramName << ": " << path << ": " << GifReadStatusText(status) << '\n';
        return false;
    }
    if (&target == &animation) return true;
    Gif* first = DetachFrames(scratch, animation);
    const std::vector<Gif*> chain = ChainFrames(first);
    Gif* last = LastFrame(animation);
    last->next = first;
    first->prev = last;
    if (scratch.screenWidth != animation.screenWidth || scratch.screenHeight != animation.screenHeight)
        ScaleFramesToScreen(chain, animation.screenWidth, animation.screenHeight);
    return true;
}

bool AppendPictures(const std::string& path, Animation& animation, int delay, std::ostream& err) {
    PicturesReadResult read = ReadPictureFile(path);
    if (read.pictures.empty()) {
        err << kProgramName << ": " << path << ": " << read.error << '\n';
        return false;
    }
    Gif* const lastBefore = LastFrame(animation);
    const int32_t width = animation.screenWidth, height = animation.screenHeight;
    Gif* last = lastBefore;
    for (const RgbaPicture& picture : read.pictures) {
        Gif* gif = MakePictureFrame(animation, ToTrueColor(picture));
        if (gif) {
            gif->prev = last;
            (last ? last->next : animation.head) = gif;
            // The first picture gives the screen its size.
            if (!last) {
                animation.screenWidth = static_cast<int32_t>(gif->width);
                animation.screenHeight = static_cast<int32_t>(gif->height);
            }
        }
        if (!gif) {
            // Take back what this file added, so that the document is as it was.
            while (Gif* added = LastFrame(animation)) {
                if (added == lastBefore) break;
                if (added == animation.head) animation.head = nullptr;
                DiscardGif(added);
            }
            animation.screenWidth = width;
            animation.screenHeight = height;
            err << kProgramName << ": " << path << ": out of memory\n";
            return false;
        }
        gif->delay = delay;
        FitPictureFrame(*gif, animation.screenWidth, animation.screenHeight);
        last = gif;
    }
    return true;
}

VideoRange RangeOf(const VideoSelection& selection, const VideoInfo& info) {
    if (!selection.first && !selection.count) return {.all = true, .reverse = selection.reverse};
    return {.count = selection.count.value_or(info.length),
            .first = selection.first.value_or(info.first),
            .reverse = selection.reverse};
}

// A GIF's delays are whole hundredths of a second: 25 frames a second become 4.
int32_t DelayOf(const VideoInfo& info, int pictureDelay) {
    if (!(info.framesPerSecond > 0)) return pictureDelay;
    return static_cast<int32_t>(std::clamp(std::lround(100 / info.framesPerSecond), 1L, 65535L));
}

int AppendVideo(const std::string& path, Animation& animation, int pictureDelay,
                const VideoSelection& selection, std::ostream& err) {
    std::string error;
    const std::unique_ptr<VideoStream> video = OpenVideoFile(path, &error);
    if (!video) {
        err << kProgramName << ": " << path << ": " << error << '\n';
        return kExitFailure;
    }
    const VideoInfo& info = video->Info();
    const VideoRange range = RangeOf(selection, info);
    if (const auto problem = VideoRangeProblem(info, range)) {
        err << kProgramName << ": " << path << ": " << *problem << '\n';
        return kExitUsage;
    }
    Gif* const last = LastFrame(animation);
    std::optional<std::pair<int32_t, int32_t>> size;
    if (last) size = {animation.screenWidth, animation.screenHeight};
    VideoRun run = ReadVideoRun(
        *video, range, [&] { return CreateGif(animation, nullptr, nullptr); }, size);
    if (!run.error.empty() || !run.frames) {
        err << kProgramName << ": " << path << ": " << run.error << '\n';
        return kExitFailure;  // the frames read so far go with `run`
    }
    Gif* first = run.frames.release();
    for (Gif* gif = first; gif; gif = gif->next) gif->delay = DelayOf(info, pictureDelay);
    first->prev = last;
    (last ? last->next : animation.head) = first;
    if (!last) {
        animation.screenWidth = info.width;
        animation.screenHeight = info.height;
    }
    return kExitOk;
}

}  // namespace

int AppendInputFrames(const std::string& path, Animation& animation, int pictureDelay,
                      std::ostream& err, const VideoSelection& video) {
    if (IsVideoFile(path)) return AppendVideo(path, animation, pictureDelay, video, err);
    const bool read = IsGifFile(path) ? AppendGif(path, animation, err)
                                      : AppendPictures(path, animation, pictureDelay, err);
    return read ? kExitOk : kExitFailure;
}

}  // namespace anitrope
