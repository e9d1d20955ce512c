#include "gif/animation_optimizer.h"

#include <memory>
#include <utility>
#include <vector>

#include "gif/change_crop.h"
#include "gif/lossless_optimizer.h"
#include "gif/optimize_progress.h"
#include "gif/screen_walk.h"
#include "gif/shared_palette.h"
#include "gif/unchanged_pixels.h"
#include "model/animation.h"
#include "model/animation_copy.h"
#include "model/frame_composition.h"
#include "model/gif.h"
#include "model/reduction_workers.h"
#include "model/true_color_conversion.h"

namespace anitrope {
namespace {

constexpr uint32_t kUnoptimizedNothingFirst = 0x808080;
constexpr uint32_t kUnoptimizedNothingLater = 0xFFFFFF;

// One pass over the frames with its progress text; false once aborted.
class Pass {
public:
    Pass(OptimizeProgress* progress, std::size_t frames, const char* text)
        : progress_(progress), frames_(frames) {
        if (progress_) progress_->SetText(text);
    }
    bool Aborted() const { return progress_ && progress_->Aborted(); }
    // After each frame.
    bool Step() {
        ++done_;
        if (!progress_) return true;
        progress_->SetPercent(static_cast<int>(100 * done_ / frames_));
        return !progress_->Aborted();
    }

private:
    OptimizeProgress* progress_;
    std::size_t frames_;
    std::size_t done_ = 0;
};

std::size_t CountFrames(Gif* first) {
    std::size_t count = 0;
    for (Gif* g = first; g; g = g->next) ++count;
    return count;
}

// A frame with a disposal that restores the background clears its whole rectangle after it is
// shown; cut smaller, it would leave the rest of the old screen standing.
bool CutKeepsDisposal(const Animation& animation, const Gif& frame) {
    return DisposalInForce(animation, frame) != DisposalRestoreBackground;
}

bool CropPass(Animation& animation, Gif* first, uint32_t mask, Pass pass) {
    return WalkScreens(animation, first, [&](Gif& frame, const ScreenImage& before) {
        if (&frame != first && CutKeepsDisposal(animation, frame))
            CropToChanges(frame, before, mask);
        return pass.Step();
    });
}

void GiveEveryFrameItsOwnPalette(Animation& animation, Gif* first) {
    for (Gif* frame = first; frame; frame = frame->next) {
        if (!frame->usesLocalPalette) frame->palette = animation.globalPalette;
        frame->usesLocalPalette = 1;
    }
}

void MoveOntoShared(Animation& animation, Gif& frame, const SharedPalette& shared,
                    int transparentSlot, std::shared_ptr<IndexedBitmap> pixels) {
    // Kept current as it grows: the frames after this one are measured against the screen
    // drawn through it.
    animation.globalPalette = shared.Entries();
    frame.usesLocalPalette = 0;
    frame.palette = shared.Entries();
    if (transparentSlot >= 0) frame.transparentIndex = transparentSlot;
    frame.indexed = std::move(pixels);
}

bool PalettePass(Animation& animation, Gif* first, uint32_t mask, Pass pass) {
    const uint32_t background = BackgroundPixel(animation);
    GiveEveryFrameItsOwnPalette(animation, first);
    SharedPalette shared(background);
    animation.globalPalettePresent = 0;
    animation.globalPalette = shared.Entries();
    animation.backgroundIndex = 0;
    const bool completed = WalkScreens(animation, first, [&](Gif& frame, const ScreenImage& before) {
        if (!frame.indexed) return pass.Step();
        const int32_t w = frame.indexed->Width(), h = frame.indexed->Height();
        auto onShared = std::make_shared<IndexedBitmap>(&frame, w, h);
        auto marked = std::make_shared<IndexedBitmap>(&frame, w, h);
        if (!onShared->HasRows() || !marked->HasRows()) return pass.Step();  // keeps its data
        // The marks stay on either palette: the shared one keeps an entry for transparency.
        if (MarkUnchangedTransparent(animation, frame, *marked, before, mask) > 0)
            frame.indexed = std::move(marked);
        const int slot = shared.Map(frame, *onShared);
        if (slot != SharedPalette::kFull)
            MoveOntoShared(animation, frame, shared, slot, std::move(onShared));
        return pass.Step();
    });
    for (Gif* frame = first; frame; frame = frame->next)
        if (!frame->usesLocalPalette) animation.globalPalettePresent = 1;
    return completed;
}

// Frames after the first that are not transparent get a transparent slot from a new reduction.
void ReduceForTransparency(Gif* first, FrameReducer* reducer) {
    if (!reducer) return;
    std::vector<Gif*> frames;
    for (Gif* frame = first->next; frame; frame = frame->next) {
        if (frame->transparent) continue;
        MakeTrueColor(frame, true);
        frames.push_back(frame);
    }
    reducer->ReduceNow(frames);
}

// What the screen shows with the frame on it, with no pixel left transparent.
std::unique_ptr<TrueColorBitmap> Shown(Gif& frame, const ScreenImage& before) {
    ScreenImage shown = before;
    DrawFrame(frame, shown);
    auto picture = std::make_unique<TrueColorBitmap>(shown.Width(), shown.Height());
    if (!picture->HasRows()) return nullptr;
    const uint32_t nothing = frame.prev ? kUnoptimizedNothingLater : kUnoptimizedNothingFirst;
    for (int32_t y = 0; y < shown.Height(); ++y) {
        for (int32_t x = 0; x < shown.Width(); ++x) {
            const uint32_t pixel = shown.Get(x, y);
            picture->Set(x, y, pixel == kNothingBeneathPixel ? nothing : pixel & 0xFFFFFF);
        }
    }
    return picture;
}

}  // namespace

bool OptimizeAnimation(Animation& animation, Gif* first, uint32_t mask, OptimizeProgress* progress,
                       FrameReducer* reducer) {
    if (!first) return true;
    if (mask == kLosslessMask)
        return OptimizeLossless(animation, first, progress) != LosslessResult::Aborted;
    const std::size_t frames = CountFrames(first);
    ReduceForTransparency(first, reducer);
    if (!CropPass(animation, first, mask, Pass(progress, frames, "Optimizing Rects"))) return false;
    Pass palette(progress, frames, "Optimizing Palette");
    if (palette.Aborted() || !PalettePass(animation, first, mask, palette)) return false;
    Pass final(progress, frames, "Final Run");
    if (final.Aborted() || !CropPass(animation, first, mask, final)) return false;
    if (progress) progress->Close();
    return true;
}

void UnoptimizeAnimation(Animation& animation, Gif* first) {
    if (!first) return;
    // Replaced only after the walk: the screen must move past each frame as it was.
    std::vector<std::pair<Gif*, std::unique_ptr<TrueColorBitmap>>> pictures;
    WalkScreens(animation, first, [&](Gif& frame, const ScreenImage& before) {
        const bool coversScreen = frame.width == static_cast<uint32_t>(animation.screenWidth) &&
                                  frame.height == static_cast<uint32_t>(animation.screenHeight);
        if (!coversScreen || frame.transparent) pictures.emplace_back(&frame, Shown(frame, before));
        return true;
    });
    for (auto& [frame, picture] : pictures) {
        if (!picture) continue;  // out of memory: the frame keeps its old data
        auto indexed = std::make_shared<IndexedBitmap>(frame, picture->Width(), picture->Height());
        if (!indexed->HasRows()) continue;
        SetIndexedReady(*frame, 0);
        frame->trueColor = std::move(picture);
        frame->indexed = std::move(indexed);
        frame->left = frame->top = 0;
        frame->width = static_cast<uint32_t>(animation.screenWidth);
        frame->height = static_cast<uint32_t>(animation.screenHeight);
        frame->transparent = 0;
        frame->hasTransparentPixels = 0;
    }
}

std::unique_ptr<Animation> OptimizedCopy(const Animation& animation, uint32_t mask,
                                         OptimizeProgress* progress, FrameReducer* reducer,
                                         bool* completed) {
    std::unique_ptr<Animation> copy = CopyAnimation(animation);
    const bool done = OptimizeAnimation(*copy, copy->head, mask, progress, reducer);
    if (completed) *completed = done;
    return copy;
}

std::unique_ptr<Animation> UnoptimizedCopy(const Animation& animation) {
    std::unique_ptr<Animation> copy = CopyAnimation(animation);
    UnoptimizeAnimation(*copy, copy->head);
    return copy;
}

}  // namespace anitrope
