#include "model/picture_frame.h"

#include "model/animation.h"
#include "model/resize.h"

namespace anitrope {

bool SetPicture(Gif& gif, std::unique_ptr<TrueColorBitmap> pixels) {
    if (!pixels || !pixels->HasRows()) return false;
    auto indexed = std::make_shared<IndexedBitmap>(&gif, pixels->Width(), pixels->Height());
    if (!indexed->HasRows()) return false;
    gif.width = static_cast<uint32_t>(pixels->Width());
    gif.height = static_cast<uint32_t>(pixels->Height());
    gif.indexed = std::move(indexed);
    SetIndexedReady(gif, 0);
    gif.trueColor = std::move(pixels);
    gif.bitsPerPixel = 8;
    return true;
}

Gif* MakePictureFrame(Animation& animation, std::unique_ptr<TrueColorBitmap> pixels) {
    Gif* gif = CreateGif(animation, nullptr, nullptr);
    if (!SetPicture(*gif, std::move(pixels))) {
        DiscardGif(gif);
        return nullptr;
    }
    return gif;
}

bool FitPictureFrame(Gif& gif, int64_t width, int64_t height) {
    if (gif.width == width && gif.height == height) return true;
    return ResizeGif(gif, static_cast<int32_t>(width), static_cast<int32_t>(height), true, true);
}

}  // namespace anitrope
