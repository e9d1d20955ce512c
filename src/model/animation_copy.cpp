#include "model/animation_copy.h"

#include <new>

#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {

std::unique_ptr<Animation> CopyAnimation(Animation& source) {
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
    for (Gif* frame = source.head; frame; frame = frame->next) {
        Gif* twin = CreateGif(*copy, last, nullptr);
        (last ? last->next : copy->head) = twin;
        last = twin;
        if (DuplicateGif(*frame, twin, false) != 0) return nullptr;
        twin->name = frame->name;  // not a "Copy of": the file is the document
        twin->disposal = frame->disposal;
        twin->usesLocalPalette = frame->usesLocalPalette;
        twin->comments = frame->comments;
    }
    copy->current = copy->head;
    return copy;
}

}  // namespace anitrope
