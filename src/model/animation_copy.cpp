#include "model/animation_copy.h"

#include "model/animation.h"

namespace anitrope {

std::unique_ptr<Animation> CopyAnimation(const Animation& source) {
    auto copy = std::make_unique<Animation>();
    copy->screenWidth = source.screenWidth;
    copy->screenHeight = source.screenHeight;
    copy->globalPalette = source.globalPalette;
    copy->globalPalettePresent = source.globalPalettePresent;
    copy->backgroundIndex = source.backgroundIndex;
    copy->loopCount = source.loopCount;
    copy->hasLoopExtension = source.hasLoopExtension;
    copy->animationDelay = source.animationDelay;
    copy->useAnimationDelay = source.useAnimationDelay;
    copy->animationDisposal = source.animationDisposal;
    copy->useAnimationDisposal = source.useAnimationDisposal;
    copy->globalComments = source.globalComments;
    copy->hasGlobalComments = source.hasGlobalComments;
    Gif* last = nullptr;
    for (const Gif* frame = source.head; frame; frame = frame->next) {
        Gif* twin = CreateGif(*copy, last, nullptr);
        (last ? last->next : copy->head) = twin;
        last = twin;
        twin->left = frame->left;
        twin->top = frame->top;
        twin->width = frame->width;
        twin->height = frame->height;
        twin->indexed = frame->indexed;
        twin->usesLocalPalette = frame->usesLocalPalette;
        twin->palette = frame->palette;
        twin->delay = frame->delay;
        twin->disposal = frame->disposal;
        twin->transparentIndex = frame->transparentIndex;
        twin->transparent = frame->transparent;
        twin->interlaced = frame->interlaced;
        twin->bitsPerPixel = frame->bitsPerPixel;
        twin->name = frame->name;
        twin->label = frame->label;
        twin->trueColor = frame->trueColor;
        twin->hasTransparentPixels = frame->hasTransparentPixels;
        twin->comments = frame->comments;
        twin->indexedReady = frame->indexedReady;
        twin->keepColors = frame->keepColors;
    }
    return copy;
}

}  // namespace anitrope
