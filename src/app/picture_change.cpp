#include "app/picture_change.h"

#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"

namespace anitrope {

PictureChange::PictureChange(Compositor* compositor) : compositor_(compositor) {
    if (!compositor_) return;
    wasSuspended_ = compositor_->CompositionSuspended();
    compositor_->SuspendComposition(true);
}

PictureChange::~PictureChange() {
    if (compositor_ && !wasSuspended_) compositor_->SuspendComposition(false);
}

void PictureChange::FrameChanged(Gif& gif) {
    if (compositor_) compositor_->InvalidateFrom(gif);
}

void PictureChange::EveryFrameChanged(Animation& animation) {
    if (!compositor_) return;
    for (Gif* gif = animation.head; gif; gif = gif->next) compositor_->DropDisplayBitmap(*gif);
}

}  // namespace anitrope
