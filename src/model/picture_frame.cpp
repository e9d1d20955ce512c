#include "model/picture_frame.h"

#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"
#include "model/reduction_workers.h"
#include "model/resize.h"

namespace anitrope {

Gif* LinkPictureFrame(Animation& animation, Gif* prev, Gif* next,
                      std::unique_ptr<TrueColorBitmap> pixels) {
    if (!pixels || !pixels->HasRows()) return nullptr;
    Gif* gif = CreateGif(animation, prev, next);
    AllocIndexed(*gif, static_cast<uint32_t>(pixels->Width()), static_cast<uint32_t>(pixels->Height()));
    if (!gif->indexed || !gif->indexed->HasRows()) {
        gif->prev = gif->next = nullptr;
        DiscardGif(gif);
        return nullptr;
    }
    SetIndexedReady(*gif, 0);
    gif->trueColor = std::move(pixels);
    gif->bitsPerPixel = 8;
    if (prev) prev->next = gif; else animation.head = gif;
    if (next) next->prev = gif;
    if (!prev && !next) {
        animation.screenWidth = static_cast<int32_t>(gif->width);
        animation.screenHeight = static_cast<int32_t>(gif->height);
    }
    return gif;
}

void FitPictureFrame(Gif& gif, int64_t width, int64_t height) {
    const bool sameSize = gif.width == width && gif.height == height;
    if (sameSize || !ResizeGif(gif, static_cast<int32_t>(width), static_cast<int32_t>(height), true,
                               true, true))
        StartReductions(&gif, 1);
}

}  // namespace anitrope
