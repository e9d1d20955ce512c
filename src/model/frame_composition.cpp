#include "model/frame_composition.h"

#include "model/animation.h"
#include "model/drawing.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

enum class PictureSource { None, Indexed, TrueColor };

// Until its reduction is in, a frame's true colour is its picture.
PictureSource SourceOf(const Gif& gif) {
    if (gif.indexedReady && gif.indexed) return PictureSource::Indexed;
    if (gif.trueColor) return PictureSource::TrueColor;
    return PictureSource::None;
}

bool CoversScreen(const Animation& animation, const Gif& gif) {
    return gif.left <= 0 && gif.top <= 0 &&
           int64_t{gif.left} + gif.width >= animation.screenWidth &&
           int64_t{gif.top} + gif.height >= animation.screenHeight;
}

void FillFrameRect(const Gif& gif, ScreenImage& canvas, uint32_t rgb) {
    FillRect(canvas, gif.left, gif.top, BitmapExtent(gif.width), BitmapExtent(gif.height), rgb);
}

}  // namespace

uint32_t BackgroundPixel(const Animation& animation) {
    return PaletteRgb(animation.globalPalette[animation.backgroundIndex]);
}

uint32_t DisposalInForce(const Animation& animation, const Gif& gif) {
    return animation.useAnimationDisposal ? static_cast<uint32_t>(animation.animationDisposal)
                                          : gif.disposal;
}

bool HasPicture(const Gif& gif) { return SourceOf(gif) != PictureSource::None; }

bool CoversScreenOpaquely(const Animation& animation, const Gif& gif) {
    if (!CoversScreen(animation, gif) || SourceOf(gif) != PictureSource::Indexed) return false;
    if (!gif.indexed->HasRows()) return false;  // draws nothing at all
    return !gif.transparent || gif.hasTransparentPixels == 0;
}

ScreenImage InitialCanvas(const Animation& animation, const Gif& first) {
    ScreenImage canvas(animation.screenWidth, animation.screenHeight, BackgroundPixel(animation));
    FillFrameRect(first, canvas, kNothingBeneathPixel);
    return canvas;
}

void DrawFrame(const Gif& gif, ScreenImage& canvas) {
    if (!gif.indexedReady || !gif.indexed) {
        if (gif.trueColor) DrawTrueColorOver(*gif.trueColor, canvas, gif.left, gif.top);
        return;
    }
    DrawIndexedOver(gif, canvas, gif.left, gif.top,
                    gif.transparent ? gif.transparentIndex : kNoTransparentIndex);
}

void AdvancePastFrame(const Animation& animation, const Gif& gif, ScreenImage& canvas) {
    switch (DisposalInForce(animation, gif)) {
        case DisposalRestorePrevious:
            break;
        // Whatever the frame drew lies inside the rectangle the background now covers.
        case DisposalRestoreBackground:
            FillFrameRect(gif, canvas, BackgroundPixel(animation));
            break;
        default:
            DrawFrame(gif, canvas);
            break;
    }
}

void DisposeAfterDisplay(const Animation& animation, const Gif& gif, ScreenImage& display) {
    if (DisposalInForce(animation, gif) == DisposalRestoreBackground)
        FillFrameRect(gif, display, BackgroundPixel(animation));
}

}  // namespace anitrope
