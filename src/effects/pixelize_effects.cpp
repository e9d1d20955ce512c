#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// The frame as stored: its indices through its palette. A frame that keeps its true colour
// after its reduction would otherwise be averaged from colours it no longer shows. A frame
// still awaiting its reduction has no such picture yet; its true colour stands for it.
SourcePicture StoredPicture(const Gif& gif) {
    const IndexedBitmap* in = gif.indexed.get();
    if (!gif.trueColor || !IsIndexedReady(gif)) return ReadSource(gif);
    SourcePicture picture;
    picture.width = BitmapExtent(gif.width);
    picture.height = BitmapExtent(gif.height);
    if (!in || !in->HasRows() || in->Width() != picture.width || in->Height() != picture.height)
        return picture;
    auto pixels = std::make_shared<TrueColorBitmap>(picture.width, picture.height);
    if (!pixels->HasRows()) return picture;
    const Palette& palette = EffectivePalette(gif);
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* source = in->Row(y);
        uint32_t* target = pixels->Row(y);
        for (int32_t x = 0; x < picture.width; ++x) target[x] = PaletteRgb(palette[source[x]]);
    }
    picture.pixels = std::move(pixels);
    return picture;
}

// One step's blocks: averages over blocks of `blockW` x `blockH` from the top left, those on
// the right and bottom edges cut to the picture.
struct BlockStep {
    int32_t blockW;
    int32_t blockH;
    int64_t step;   // i: how far the drift toward the other image has gone
    int64_t steps;  // h
};

uint32_t Channel(uint32_t pixel, int shift) { return pixel >> shift & 0xFF; }

// Fills `out` with the block averages of `own`. With `other`, each pixel adds the share
// other·i / h of the other image and each block's sum is divided by (1 + i / h) times its
// pixels, so the blocks drift toward the other image as the steps go on.
void PaintBlocks(const BlockStep& step, const SourcePicture& own, const SourcePicture* other,
                 TrueColorBitmap& out) {
    const int32_t width = own.width, height = own.height;
    const int32_t columns = static_cast<int32_t>((int64_t{width} + step.blockW - 1) / step.blockW);
    std::vector<int64_t> sums(static_cast<std::size_t>(columns) * 3);
    for (int32_t top = 0, bottom = 0; top < height; top = bottom) {
        bottom = top + std::min(step.blockH, height - top);
        std::fill(sums.begin(), sums.end(), 0);
        for (int32_t y = top; y < bottom; ++y) {
            const uint32_t* p = own.Row(y);
            const uint32_t* q = other ? other->Row(y) : nullptr;
            for (int32_t x = 0; x < width; ++x) {
                int64_t* sum = &sums[static_cast<std::size_t>(x / step.blockW) * 3];
                for (int c = 0; c < 3; ++c) {
                    const int shift = 16 - 8 * c;
                    sum[c] += Channel(p[x], shift);
                    if (q) sum[c] += Channel(q[x], shift) * step.step / step.steps;
                }
            }
        }
        for (int32_t column = 0; column < columns; ++column) {
            const int32_t left = column * step.blockW;
            const int32_t right = left + std::min(step.blockW, width - left);
            const int64_t count = int64_t{right - left} * (bottom - top);
            // The integer part of (1 + i / h) x count, exactly; at least count, so never 0.
            const int64_t divisor = other ? count * (step.steps + step.step) / step.steps : count;
            uint32_t average = 0;
            for (int c = 0; c < 3; ++c) {
                // The truncated divisor can lift a drifting sum past the channel's top.
                const int64_t value = std::min<int64_t>(
                    sums[static_cast<std::size_t>(column) * 3 + c] / divisor, 255);
                average |= static_cast<uint32_t>(value) << (16 - 8 * c);
            }
            for (int32_t y = top; y < bottom; ++y)
                std::fill(out.Row(y) + left, out.Row(y) + right, average);
        }
    }
}

}  // namespace

int SetupPixelize(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    if (slots.TransitionChosen()) return RequireTwoFramesForTransition(slots);
    if (!slots.Checked(kPingPongSlot) || slots.FrameCount() >= 2) return 1;
    slots.Refuse("Number of Frames must be larger than 2 for use of PingPong",
                 "Parameter out of Range", kFrameCountField);
    return 0;
}

// The effect: image 1 in blocks that grow from frame to frame. The transition: a chain from
// image 1 drifting toward image 2 and one from image 2 drifting toward image 1, the second
// played backwards, so the blocks grow and shrink again into image 2.
FrameChain ComputePixelize(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress) {
    const bool transition = second != nullptr;
    const int32_t n = params.frameCount;
    if (!first || n < 1 || (n < 2 && (transition || params.pingPong))) return nullptr;
    const SourcePicture one = StoredPicture(*first);
    const SourcePicture two = transition ? StoredPicture(*second) : SourcePicture{};
    if (!one.Valid() ||
        (transition && (!two.Valid() || two.width != one.width || two.height != one.height)))
        return nullptr;

    const int32_t steps = transition ? n / 2 : ComputedCount(n, params.pingPong != 0);
    const int64_t baseW = std::max<int64_t>(one.width / (int64_t{6} * n), 2);
    const int64_t baseH = std::max<int64_t>(one.height / (int64_t{6} * n), 2);
    FrameChain chainA = MakeOutputFrames(first, nullptr, steps);
    FrameChain chainB = transition ? MakeOutputFrames(second, nullptr, steps) : nullptr;
    if (!chainA || (transition && !chainB)) return nullptr;
    const std::vector<Gif*> b = ChainFrames(chainB.get());

    const bool painted = PaintFrames(
        chainA.get(), steps, params.preview != 0, progress, [&](int32_t i, TrueColorBitmap& out) {
            // Blocks wider or taller than the picture are the whole picture.
            const BlockStep step{
                static_cast<int32_t>(std::min<int64_t>(baseW + i * (baseW / 2), one.width)),
                static_cast<int32_t>(std::min<int64_t>(baseH + i * (baseH / 2), one.height)), i,
                steps};
            PaintBlocks(step, one, transition ? &two : nullptr, out);
            if (transition)
                PaintBlocks(step, two, &one, *b[static_cast<std::size_t>(i)]->trueColor);
        });
    if (!painted) return nullptr;

    if (transition) {
        Gif* tail = ChainFrames(chainA.get()).back();
        tail->next = ReverseGifList(chainB.release());
        tail->next->prev = tail;
    } else if (params.pingPong &&
               !AppendPingPong(chainA.get(), static_cast<std::size_t>(params.frameCount))) {
        return nullptr;
    }
    return FinishFrames(std::move(chainA), params.preview != 0, progress);
}

}  // namespace anitrope
