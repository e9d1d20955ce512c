#include "cli/input_frames.h"

#include <ostream>
#include <vector>

#include "cli/command.h"
#include "formats/picture_file.h"
#include "formats/picture_format.h"
#include "formats/still_picture.h"
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

}  // namespace

bool AppendInputFrames(const std::string& path, Animation& animation, int pictureDelay,
                       std::ostream& err) {
    return IsGifFile(path) ? AppendGif(path, animation, err)
                           : AppendPictures(path, animation, pictureDelay, err);
}

}  // namespace anitrope
