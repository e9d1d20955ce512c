#include "model/animation_copy.h"

#include "model/animation.h"
#include "model/frame_content.h"

namespace anitrope {

std::unique_ptr<Animation> CopyAnimation(const Animation& source) {
    auto copy = std::make_unique<Animation>();
    CopyAnimationValues(*copy, source);
    copy->globalComments = source.globalComments;
    copy->hasGlobalComments = source.hasGlobalComments;
    // A copy resized aside scales positioned frames from the screen the document remembers.
    copy->resizeMemorySet = source.resizeMemorySet;
    copy->rememberedWidth = source.rememberedWidth;
    copy->rememberedHeight = source.rememberedHeight;
    Gif* last = nullptr;
    for (const Gif* frame = source.head; frame; frame = frame->next) {
        Gif* twin = CreateGif(*copy, last, nullptr);
        (last ? last->next : copy->head) = twin;
        last = twin;
        SetContent(*twin, ContentOf(*frame));
        twin->delay = frame->delay;
        twin->disposal = frame->disposal;
        twin->interlaced = frame->interlaced;
        twin->name = frame->name;
        twin->label = frame->label;
        twin->comments = frame->comments;
        twin->keepColors = frame->keepColors;
    }
    return copy;
}

}  // namespace anitrope
