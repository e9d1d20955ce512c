#pragma once

#include <cstddef>
#include <cstdint>

#include "model/comment_list.h"
#include "model/palette_entry.h"

namespace anitrope {

class Compositor;
struct Gif;
class ReductionWorkers;
class StatusDisplay;

// The one open document: its frame list and the values that apply to the whole animation.
// The editor holds one; the command-line tool and tests make their own. Destroying it frees
// every frame.
struct Animation {
    Animation() = default;
    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;
    ~Animation();

    Gif* head = nullptr;     // first frame, null when nothing is loaded
    Gif* current = nullptr;  // the selected frame

    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    Palette globalPalette = EmptyPalette();
    int32_t globalPalettePresent = 0;
    uint8_t backgroundIndex = 0;

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
    bool globalCommentsChanged = false;

    // Smooth resizing together with the screen remembers the screen size it started from
    // for as long as the document lives; loadingResize marks resizes made while loading.
    bool resizeMemorySet = false;
    int32_t rememberedWidth = 0;
    int32_t rememberedHeight = 0;
    bool loadingResize = false;

    // Where background work is reported; none for documents nobody watches.
    StatusDisplay* status = nullptr;
    // Builds the frames' display pictures; set by the Compositor for as long as it lives, so
    // that destroying a frame stops its composition.
    Compositor* compositor = nullptr;
    // Reduces frames from their true colour in the background; set by the workers for as
    // long as they live. Without them frames stay pending.
    ReductionWorkers* reduction = nullptr;

    std::size_t FrameCount() const;
    // The frame `index` steps after the head, or null past the end.
    Gif* FrameAt(std::size_t index) const;
    Gif* LastFrame() const;

    // Frees every frame and empties the list; the animation-wide values stay.
    void Clear();

    // Screen becomes the bounding box of all frames (right and bottom edges).
    void FitScreenToFrames();
};

}  // namespace anitrope
