#include <cstdint>
#include <functional>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "model/animation.h"
#include "model/convolve.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kOutOfRange = "Parameter out of Range";

// Slot `slot` must lie in [low, high]; else refuses with `message`.
bool InRange(EffectSlots& slots, int slot, int32_t low, int32_t high, const char* message) {
    const int32_t value = slots.Value(slot);
    if (value >= low && value <= high) return true;
    slots.Refuse(message, kOutOfRange, slot);
    return false;
}

bool StrengthInRange(EffectSlots& slots) {
    return InRange(slots, 1, 0, 100, "Valid values for Strength : 0-100");
}

// The weight lost from the centre goes three quarters to the four edge neighbours and one
// quarter to the corners; the corner weight is what is left, so the weights add up to 1.
EffectKernel BlurKernel(int32_t strength) {
    const double d = strength * 0.01;
    const double edge = 0.75 * (1 - d) / 4;
    const double corner = (1 - (0.75 * (1 - d)) - d) / 4;
    EffectKernel kernel;
    kernel.weights = {{{corner, edge, corner}, {edge, d, edge}, {corner, edge, corner}}};
    return kernel;
}

EffectKernel EmbossKernel(int32_t strength, int32_t bias) {
    const double d = strength * 0.01;
    EffectKernel kernel;
    kernel.weights[0][0] = -d;
    kernel.weights[2][2] = d;
    kernel.bias = bias;
    return kernel;
}

uint32_t Channel(uint32_t pixel, int shift) { return pixel >> shift & 0xFF; }

// Where the two chains of a transition meet, each takes a quarter of the other. Each quarter
// is truncated on its own.
uint32_t CrossMix(uint32_t own, uint32_t other) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8)
        out |= ((Channel(other, shift) >> 2) + ((3 * Channel(own, shift)) >> 2)) << shift;
    return out;
}

uint32_t Average(uint32_t a, uint32_t b) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8)
        out |= (Channel(a, shift) + Channel(b, shift)) / 2 << shift;
    return out;
}

// Every frame is filtered from the one before it, so frames wait for each other and only
// their rows are shared out. Effect: image 1 filtered n times. Transition: image 1 and image 2
// each filtered n / 2 times, mixed where they meet, image 2's chain played backwards.
FrameChain ComputeFiltered(const EffectKernel& kernel, const Gif* first, const Gif* second,
                           const EffectParams& params, EffectProgress& progress) {
    const bool transition = second != nullptr;
    const int32_t n = params.frameCount;
    if (!first || n < (transition ? 2 : 1)) return nullptr;
    const SourcePicture one = ReadSource(*first);
    const SourcePicture two = transition ? ReadSource(*second) : SourcePicture{};
    // Both chains are read over image 1's rectangle.
    if (!one.Valid() ||
        (transition && (!two.Valid() || two.width != one.width || two.height != one.height)))
        return nullptr;

    const int32_t steps = transition ? n / 2 : n;
    const bool middle = transition && n % 2 != 0;
    FrameChain chainA = MakeOutputFrames(first, nullptr, steps);
    FrameChain chainB = transition ? MakeOutputFrames(second, nullptr, steps) : nullptr;
    FrameChain center = middle ? MakeOutputFrames(first, nullptr, 1) : nullptr;
    if (!chainA || (transition && !chainB) || (middle && !center)) return nullptr;
    const std::vector<Gif*> a = ChainFrames(chainA.get());
    const std::vector<Gif*> b = ChainFrames(chainB.get());

    if (!params.preview) progress.Announce(steps);
    bool ok = true;
    for (int32_t k = 0; k < steps && ok; ++k) {
        const TrueColorBitmap& fromA = k == 0 ? *one.pixels : *a[k - 1]->trueColor;
        TrueColorBitmap& toA = *a[k]->trueColor;
        const TrueColorBitmap* fromB =
            transition ? (k == 0 ? two.pixels.get() : b[k - 1]->trueColor.get()) : nullptr;
        TrueColorBitmap* toB = transition ? b[k]->trueColor.get() : nullptr;
        TrueColorBitmap* between = middle && k == steps - 1 ? center->trueColor.get() : nullptr;
        // The chains meet over their last two steps.
        const bool mix = transition && k >= steps - 2;
        auto work = [&](int32_t firstRow, int32_t endRow) {
            Convolve3x3(kernel, toA, fromA, firstRow, endRow);
            if (!toB) return;
            Convolve3x3(kernel, *toB, *fromB, firstRow, endRow);
            for (int32_t y = firstRow; y < endRow; ++y) {
                uint32_t* rowA = toA.Row(y);
                uint32_t* rowB = toB->Row(y);
                uint32_t* rowMiddle = between ? between->Row(y) : nullptr;
                for (int32_t x = 0; x < one.width; ++x) {
                    const uint32_t pa = rowA[x], pb = rowB[x];
                    if (rowMiddle) rowMiddle[x] = Average(pa, pb);
                    if (!mix) continue;
                    rowA[x] = CrossMix(pa, pb);
                    rowB[x] = CrossMix(pb, pa);
                }
            }
        };
        ok = ForRowBlocks(one.height, progress, work);
        if (ok && !params.preview) ok = progress.Step();
    }
    if (!params.preview) progress.End();
    if (!ok) return nullptr;

    if (transition) {
        Gif* tail = a.back();
        if (middle) {
            tail->next = center.release();
            tail->next->prev = tail;
            tail = tail->next;
        }
        tail->next = ReverseGifList(chainB.release());
        tail->next->prev = tail;
    }
    return FinishFrames(std::move(chainA), params.preview != 0, progress);
}

}  // namespace

int SetupBlur(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    if (!StrengthInRange(slots)) return 0;
    return RequireTwoFramesForTransition(slots);
}

int SetupEmboss(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    if (!StrengthInRange(slots) || !InRange(slots, 2, 0, 255, "Valid values for Bias : 0-255"))
        return 0;
    return RequireTwoFramesForTransition(slots);
}

FrameChain ComputeBlur(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress) {
    return ComputeFiltered(BlurKernel(params.value1), first, second, params, progress);
}

FrameChain ComputeEmboss(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress) {
    return ComputeFiltered(EmbossKernel(params.value1, params.value2), first, second, params,
                           progress);
}

}  // namespace anitrope
