// "&Resize All" (1024): the logical screen and every frame with it, as one edit.

#include <memory>
#include <string>
#include <vector>

#include "app/busy_scope.h"
#include "app/editor.h"
#include "app/message_boxes.h"
#include "gif/animation_optimizer.h"
#include "model/animation_copy.h"
#include "model/resize.h"

namespace anitrope {

void Editor::ResizeAll() {
    StopPlayback();
    if (!HasAnimation() || !chooseResize) return;
    ResizeRequest request;
    request.screenWidth = Data().screenWidth;
    request.screenHeight = Data().screenHeight;
    for (const Gif* g = Data().head; g && !request.anyTransparent; g = g->next)
        request.anyTransparent = g->transparent != 0;
    if (!chooseResize(request)) return;

    BusyScope wait(busy);
    // A reduction still running would bring its result for the old picture after the edit.
    document_.WaitForReductions();
    const std::vector<Gif*> frames = ChainFrames(Data().head);
    // A frame that only patches the one before it would be resampled with its holes, and
    // what shows through them would no longer line up: whole pictures resample cleanly. The
    // copy is not reduced until the document takes the resized frames in.
    std::unique_ptr<Animation> resized = request.keepTransparency && frames.size() > 1
                                             ? UnoptimizedCopy(Data())
                                             : CopyAnimation(Data());
    if (!ResizeAnimation(*resized, request.width, request.height, true)) {
        boxes_.Tell("Couldn't resize the image(s) to " + std::to_string(request.width) + " x " +
                        std::to_string(request.height),
                    "Error", MessageIcon::Error);
        return;
    }
    Transaction edit(document_, "Resize");
    ApplyRework(edit, frames, *resized);
    edit.Set(&Animation::screenWidth, resized->screenWidth);
    edit.Set(&Animation::screenHeight, resized->screenHeight);
    // With the edit, so that Undo also forgets the screen this resize remembered.
    edit.Set(&Animation::resizeMemorySet, resized->resizeMemorySet);
    edit.Set(&Animation::rememberedWidth, resized->rememberedWidth);
    edit.Set(&Animation::rememberedHeight, resized->rememberedHeight);
}

}  // namespace anitrope
