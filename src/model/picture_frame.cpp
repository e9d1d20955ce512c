#include "model/picture_frame.h"

#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/resize.h"

namespace anitrope {

Gif* MakePictureFrame(Animation& animation, std::unique_ptr<TrueColorBitmap> pixels) {
    if (!pixels || !pixels->HasRows()) return nullptr;
    Gif* gif = CreateGif(animation, nullptr, nullptr);
    AllocIndexed(*gif, static_cast<uint32_t>(pixels->Width()), static_cast<uint32_t>(pixels->Height()));
    if (!gif->indexed || !gif->indexed->HasRows()) {
        DiscardGif(gif);
        return nullptr;
    }
    SetIndexedReady(*gif, 0);
    gif->trueColor = std::move(pixels);
    gif->bitsPerPixel = 8;
    return gif;
}

bool FitPictureFrame(Gif& gif, int64_t width, int64_t height) {
    if (gif.width == width && gif.height == height) return true;
    return ResizeGif(gif, static_cast<int32_t>(width), static_cast<int32_t>(height), true, true);
}

}  // namespace anitrope
