// Commands 1021, 1022, 1045 and 1061: frames made by an effect, a transition or the banner,
// inserted after the current frame as one group.

#include "app/busy_scope.h"
#include "app/editor.h"
#include "app/message_boxes.h"
#include "effects/effect_entry.h"
#include "effects/effect_progress.h"
#include "banner/banner_generator.h"
#include "model/animation.h"
#include "model/frame_group.h"

namespace anitrope {
namespace {

bool SameRect(const Gif& a, const Gif& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

std::string FrameOfGroup(const std::string& name, std::size_t index, std::size_t count) {
    return "Gif :" + name + " (" + std::to_string(index) + "/" + std::to_string(count) + ")";
}

}  // namespace

void Editor::InsertEffect() {
    effects_.isEffect = 1;
    EffectOrTransition();
}

void Editor::InsertTransition() {
    if (!HasAnimation() || !currentGif_ || !currentGif_->next ||
        !SameRect(*currentGif_, *currentGif_->next))
        return;
    effects_.isEffect = 0;
    EffectOrTransition();
}

void Editor::EffectOrTransition() {
    if (!HasAnimation()) {
        boxes_.Tell("Please load a Gif file prior to applying an Effect/Transition\nor starting an animation.",
                    "Warning", MessageIcon::Warning);
        return;
    }
    if (!currentGif_) {
        boxes_.Tell("No Gif associated with selection", "Bug");
        return;
    }
    if (Kind() != SelectionKind::Image) {
        boxes_.Tell("Please select an image file prior to applying an Effect/Transition.", "Warning",
                    MessageIcon::Warning);
        return;
    }
    StopPlayback();
    effects_.noTransition = currentGif_->next ? 0 : 1;
    if (effects_.colorIndex < 0) effects_.colorIndex = Data().backgroundIndex;
    if (!chooseEffect || !chooseEffect(effects_)) return;
    InsertGeneratedFrames();
}

bool Editor::InsertGeneratedFrames() {
    Gif& first = *currentGif_;
    Gif* second = effects_.isEffect ? nullptr : first.next;
    const EffectEntry* entry = ChosenEntry(effects_);
    if (!FramesFit(first, effects_.frameCount)) {
        boxes_.Tell(std::to_string(effects_.frameCount) + " frames of " + std::to_string(first.width) +
                        " x " + std::to_string(first.height) +
                        " pixels need more memory than one effect may take (" +
                        std::to_string(kMaxEffectBytes >> 20) + " MB); please ask for fewer frames.",
                    "Sorry", MessageIcon::Information);
        return false;
    }
    FrameChain chain;
    {
        BusyScope wait(busy);
        // Their colours and palettes must be final before they are read.
        document_.WaitForReduction(first);
        if (second) document_.WaitForReduction(*second);
        EffectProgress progress(&status_, &scheduler_);
        progress.stepped = onProgressStep;
        effects_.preview = 0;
        chain = RunEntry(effects_, first, second, progress);
    }
    if (!chain || !entry) {
        boxes_.Tell("An Error occured while calculating the last animation :-(", "Error",
                    MessageIcon::Error);
        return false;
    }
    std::size_t count = 0;
    for (Gif* gif = chain.get(); gif; gif = gif->next) ++count;
    std::size_t index = 0;
    for (Gif* gif = chain.get(); gif; gif = gif->next) {
        gif->name = entry->name;
        gif->label = FrameOfGroup(entry->name, ++index, count);
    }
    Gif* head = chain.get();
    {
        Transaction edit(document_, effects_.isEffect ? "Insert Effect" : "Insert Transition");
        edit.Insert(chain.release(), PlaceAfterItem(OutlineItem::Frame(&first)),
                    MakeGroup(effects_.isEffect ? GroupKind::Effect : GroupKind::Transition, entry->name));
    }
    Select(OutlineItem::Frame(head));
    return true;
}

void Editor::InsertBanner() {
    if (Kind() != SelectionKind::None && Kind() != SelectionKind::Image) return;
    StopPlayback();
    if (!chooseBanner) return;
    BannerRequest request;
    request.warnIfEmpty = true;
    if (!chooseBanner(request)) request.usable = false;
    if (request.usable && !request.accepted) return;
    FrameChain chain;
    if (request.usable) {
        BusyScope wait(busy);
        GenerateBanner([this] { return document_.CreateFrame(nullptr); }, request, *textDrawer_,
                       [this] {
                           if (onProgressStep) onProgressStep();
                           return true;
                       });
        chain = std::move(request.frames);
    }
    if (!chain) {
        // A refusal says what to change; anything else is the generator's plain failure.
        const bool refused = request.status == BannerTooLarge || request.status == BannerOutOfRange;
        boxes_.Tell(refused ? request.failure : ".. creating banner text", "Error ..",
                    MessageIcon::Warning);
        return;
    }
    int32_t index = 0;
    for (Gif* gif = chain.get(); gif; gif = gif->next) {
        gif->name = "Banner";
        gif->label = "Gif: Banner " + std::to_string(++index);
    }
    Gif* head = chain.get();
    const bool wasEmpty = !HasAnimation();
    {
        Transaction edit(document_, "Banner Text");
        // An empty editor's screen is whatever the last document left: the banner's own
        // size replaces it.
        if (wasEmpty || Data().screenWidth < request.imageWidth)
            edit.Set(&Animation::screenWidth, request.imageWidth);
        if (wasEmpty || Data().screenHeight < request.imageHeight)
            edit.Set(&Animation::screenHeight, request.imageHeight);
        edit.Insert(chain.release(), wasEmpty ? Place{} : PlaceAfterItem(selected_),
                    MakeGroup(GroupKind::Banner));
    }
    Select(OutlineItem::Frame(head));
}

}  // namespace anitrope
