#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/comment_list.h"
#include "model/gif.h"
#include "model/palette_entry.h"

namespace anitrope {

// The one open document as plain data: its frames in order and the values that apply to the
// whole animation. The editor holds its animation in a Document, which is the only way it
// changes; the command-line tool and tests also make their own. Destroying it frees every
// frame.
struct Animation {
    Animation() = default;
    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;
    ~Animation();

    Gif* head = nullptr;  // first frame, null when nothing is loaded

    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    Palette globalPalette = EmptyPalette();
    int32_t globalPalettePresent = 0;
    uint8_t backgroundIndex = 0;
    // Bits of the global colour table as written; 0 leaves it to the frames. A file may keep
    // a larger table than its first frame codes with.
    uint8_t globalTableBits = 0;

    int32_t loopCount = 0;  // written as 16 bits; 0 repeats endlessly
    // False for a file read without a looping extension: such a file plays once, which a
    // loop count alone cannot say.
    bool hasLoopExtension = true;

    int32_t animationDelay = 10;  // "Global Delay", 1/100 s; the delay of every new frame
    int32_t useAnimationDelay = 0;
    int32_t animationDisposal = 0;  // also the disposal assumed before the first frame
    int32_t useAnimationDisposal = 0;

    CommentList globalComments;
    int32_t hasGlobalComments = 0;

    // How many groups of each kind were made: the next one takes the count plus one.
    int32_t effectGroups = 0;
    int32_t transitionGroups = 0;
    int32_t bannerGroups = 0;

    // Smooth resizing together with the screen remembers the screen size it started from
    // for as long as the document lives; loadingResize marks resizes made while loading.
    bool resizeMemorySet = false;
    int32_t rememberedWidth = 0;
    int32_t rememberedHeight = 0;
    bool loadingResize = false;

    // Version stamps kept by the Document: its version, raised by every change, and the
    // version at which a value every picture shows (screen, global palette, background,
    // disposal override) last changed.
    uint64_t version = 0;
    uint64_t pictureStamp = 0;

    std::size_t FrameCount() const;
    // The frame `index` steps after the head, or null past the end.
    Gif* FrameAt(std::size_t index) const;
    Gif* LastFrame() const;

    // Frees every frame and empties the list; the animation-wide values stay.
    void Clear();

    // Screen becomes the bounding box of all frames (right and bottom edges).
    void FitScreenToFrames();
};

// A new frame with the defaults of a fresh record: delay from the document (or from prev),
// local-palette flag from prev (1 while prev awaits its reduction, which gives it a palette of
// its own). Links only its own prev and next; the caller patches the neighbours. The caller
// owns the result until it links it into the document.
Gif* CreateGif(Animation& animation, Gif* prev, Gif* next);

// The palette that applies to the frame's indexed pixels: its own, or its document's global
// one.
const Palette& EffectivePalette(const Gif& gif);

// Copies the values a file stores for the whole animation (screen, global palette,
// background, looping, global delay and disposal); frames, comments and counters stay.
void CopyAnimationValues(Animation& to, const Animation& from);

// The frames of the chain from `first`, in order.
std::vector<Gif*> ChainFrames(Gif* first);

// Moves frames and animation-wide values of `from` into `to`, whose frames are freed first;
// `from` is left empty. Version stamps stay `to`'s.
void TakeAnimation(Animation& to, Animation& from);

// Takes every frame out of `from` as a chain (linked through next and prev, head returned) for
// `into`: a frame that used `from`'s global palette gets those colours as its own, so that it
// keeps its look wherever it goes. `from` is left without frames.
Gif* DetachFrames(Animation& from, Animation& into);

// Counts every group's frames again (FrameGroup::first, last, frames) from the list.
void RecountGroups(Animation& animation);

}  // namespace anitrope
