#include "model/animation.h"

#include <algorithm>
#include <utility>

namespace anitrope {

Animation::~Animation() { Clear(); }

std::size_t Animation::FrameCount() const {
    std::size_t n = 0;
    for (Gif* g = head; g; g = g->next) ++n;
    return n;
}

Gif* Animation::FrameAt(std::size_t index) const {
    Gif* g = head;
    while (g && index--) g = g->next;
    return g;
}

Gif* Animation::LastFrame() const {
    Gif* g = head;
    while (g && g->next) g = g->next;
    return g;
}

void Animation::Clear() {
    while (head) {
        Gif* next = head->next;
        DiscardGif(head);
        head = next;
    }
}

void Animation::FitScreenToFrames() {
    int64_t right = 0, bottom = 0;
    for (Gif* g = head; g; g = g->next) {
        right = std::max(right, int64_t{g->left} + g->width);
        bottom = std::max(bottom, int64_t{g->top} + g->height);
    }
    screenWidth = static_cast<int32_t>(std::min<int64_t>(right, INT32_MAX));
    screenHeight = static_cast<int32_t>(std::min<int64_t>(bottom, INT32_MAX));
}

Gif* CreateGif(Animation& animation, Gif* prev, Gif* next) {
    Gif* gif = new Gif(&animation);
    gif->prev = prev;
    gif->next = next;
    gif->delay = prev ? prev->delay : animation.animationDelay;
    gif->usesLocalPalette = prev && IsIndexedReady(*prev) ? prev->usesLocalPalette : 1;
    return gif;
}

const Palette& EffectivePalette(const Gif& gif) {
    return gif.usesLocalPalette || !gif.animation ? gif.palette : gif.animation->globalPalette;
}

void CopyAnimationValues(Animation& to, const Animation& from) {
    to.screenWidth = from.screenWidth;
    to.screenHeight = from.screenHeight;
    to.globalPalette = from.globalPalette;
    to.globalPalettePresent = from.globalPalettePresent;
    to.backgroundIndex = from.backgroundIndex;
    to.globalTableBits = from.globalTableBits;
    to.loopCount = from.loopCount;
    to.hasLoopExtension = from.hasLoopExtension;
    to.animationDelay = from.animationDelay;
    to.useAnimationDelay = from.useAnimationDelay;
    to.animationDisposal = from.animationDisposal;
    to.useAnimationDisposal = from.useAnimationDisposal;
}

std::vector<Gif*> ChainFrames(Gif* first) {
    std::vector<Gif*> frames;
    for (Gif* g = first; g; g = g->next) frames.push_back(g);
    return frames;
}

void TakeAnimation(Animation& to, Animation& from) {
    to.Clear();
    to.head = std::exchange(from.head, nullptr);
    for (Gif* g = to.head; g; g = g->next) g->animation = &to;
    CopyAnimationValues(to, from);
    to.globalComments = std::move(from.globalComments);
    from.globalComments.Clear();
    to.hasGlobalComments = std::exchange(from.hasGlobalComments, 0);
    to.effectGroups = from.effectGroups;
    to.transitionGroups = from.transitionGroups;
    to.bannerGroups = from.bannerGroups;
    to.resizeMemorySet = from.resizeMemorySet;
    to.rememberedWidth = from.rememberedWidth;
    to.rememberedHeight = from.rememberedHeight;
    to.loadingResize = from.loadingResize;
}

Gif* DetachFrames(Animation& from, Animation& into) {
    Gif* chain = std::exchange(from.head, nullptr);
    for (Gif* g = chain; g; g = g->next) {
        if (!g->usesLocalPalette) g->palette = from.globalPalette;
        g->usesLocalPalette = 1;
        g->animation = &into;
    }
    return chain;
}

void RecountGroups(Animation& animation) {
    for (Gif* g = animation.head; g; g = g->next) {
        for (FrameGroup* group = g->group.get(); group; group = group->parent.get()) {
            group->first = nullptr;
            group->last = nullptr;
            group->frames = 0;
        }
    }
    for (Gif* g = animation.head; g; g = g->next) {
        for (FrameGroup* group = g->group.get(); group; group = group->parent.get()) {
            if (!group->first) group->first = g;
            group->last = g;
            ++group->frames;
        }
    }
}

}  // namespace anitrope
