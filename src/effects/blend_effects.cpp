#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "effects/indexed_frames.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// The pictures a blend reads: image 1 and, for a transition, image 2 over the same rectangle
// (a picture of another size would be read past its rows).
struct BlendSources {
    SourcePicture one;
    SourcePicture two;
};

std::optional<BlendSources> ReadBlendSources(const Gif* first, const Gif* second) {
    if (!first) return std::nullopt;
    BlendSources sources;
    sources.one = ReadSource(*first);
    if (!sources.one.Valid()) return std::nullopt;
    if (second) {
        sources.two = ReadSource(*second);
        if (!sources.two.Valid() || sources.two.width != sources.one.width ||
            sources.two.height != sources.one.height)
            return std::nullopt;
    }
    return sources;
}

// Combines two pixels channel by channel; `mix` gets the channels (0-255) of p and q and must
// give 0-255 again. The result carries no transparent bit.
template <class Mix>
uint32_t PerChannel(uint32_t p, uint32_t q, Mix mix) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int64_t a = p >> shift & 0xFF, b = q >> shift & 0xFF;
        out |= static_cast<uint32_t>(mix(a, b)) << shift;
    }
    return out;
}

int32_t Brightness(uint32_t rgb) {
    return static_cast<int32_t>((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF));
}

// Which pixels of the top image a Color Blending frame shows: those on one side of a level
// that moves through the brightness range of the reference image, one step per frame.
class BlendLevels {
public:
    BlendLevels(int32_t darkest, int32_t brightest, int32_t computed, bool transition,
                bool darkToLight, bool blendOut)
        : lo_(darkest - 1),
          span_(brightest + 1 - (darkest - 1)),
          computed_(computed),
          transition_(transition),
          darkToLight_(darkToLight),
          below_(darkToLight != blendOut) {}

    int64_t Level(int32_t frame) const {
        int64_t share;
        if (transition_)
            share = darkToLight_ ? frame + 1 : computed_ - frame;
        else
            share = darkToLight_ ? frame + 1 : computed_ - 1 - frame;
        // A transition never reaches either image: one step more than it has frames.
        const int64_t steps = transition_ ? int64_t{computed_} + 1 : computed_;
        return lo_ + share * span_ / steps;
    }
    bool Shows(int32_t brightness, int64_t level) const {
        return below_ ? brightness <= level : brightness >= level;
    }

private:
    int32_t lo_;
    int32_t span_;
    int32_t computed_;
    bool transition_;
    bool darkToLight_;
    bool below_;
};

// Darkest and brightest of the brightnesses `each` reports; 0 and 0 for none (then the top
// image has nothing to show, and the levels do not matter).
template <class Each>
std::array<int32_t, 2> BrightnessRange(Each each) {
    int32_t lowest = 3 * 255 + 1, highest = -1;
    each([&](int32_t g) {
        lowest = std::min(lowest, g);
        highest = std::max(highest, g);
    });
    if (highest < 0) return {0, 0};
    return {lowest, highest};
}

// The effect works on image 1's indices and palette, so its frames need no colour reduction.
FrameChain BlendIndicesOut(const Gif& first, const EffectParams& params, EffectProgress& progress) {
    // The levels span the whole picture's brightness, so it is read before any frame is made.
    const IndexedBitmap* in = PictureIndices(first);
    if (!in) return nullptr;
    const int32_t width = in->Width(), height = in->Height();
    const Palette& palette = EffectivePalette(first);
    std::array<int32_t, kPaletteSlots> brightness{};
    for (std::size_t i = 0; i < brightness.size(); ++i)
        brightness[i] = Brightness(PaletteRgb(palette[i]));
    auto opaque = [&](uint8_t index) {
        return !first.transparent || index != first.transparentIndex;
    };
    const auto range = BrightnessRange([&](auto report) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                if (const uint8_t index = in->Row(y)[x]; opaque(index)) report(brightness[index]);
    });
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    const BlendLevels levels(range[0], range[1], computed, false, params.check1 != 0, true);
    const uint8_t color = IndexByte(params.colorIndex);

    return ComputeIndexedFrames(
        first, params, progress,
        [&](int32_t frame, int32_t, const uint8_t* source, uint8_t* target) {
            const int64_t level = levels.Level(frame);
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t index = source[x];
                target[x] = opaque(index) && levels.Shows(brightness[index], level) ? index : color;
            }
        });
}

}  // namespace

int RequireTwoFramesForTransition(EffectSlots& slots) {
    if (!slots.TransitionChosen() || slots.FrameCount() >= 2) return 1;
    slots.Refuse("At least two frames are required for this transition !", "Parameter out of Range",
                 kFrameCountField);
    return 0;
}

int SetupFade(EffectSlots& slots, SetupMode mode) {
    return mode == SetupMode::Validate ? RequireTwoFramesForTransition(slots) : 1;
}

FrameChain ComputeFade(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress) {
    const bool transition = second != nullptr;
    if (params.frameCount < 2 && (transition || params.pingPong)) return nullptr;
    const std::optional<BlendSources> sources = ReadBlendSources(first, second);
    if (!sources) return nullptr;
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    // A transition's frames lie strictly between its images; the effect ends on the colour.
    const int64_t steps = transition ? int64_t{computed} + 1 : computed;
    const uint32_t color = PaletteColor(*first, params.colorIndex);
    const SourcePicture& one = sources->one;
    const SourcePicture& two = sources->two;

    return ComputeFrames(first, second, params, progress, [&](int32_t index, TrueColorBitmap& out) {
        const int64_t k = index + 1;
        auto fade = [&](int64_t from, int64_t to) { return from + (to - from) * k / steps; };
        for (int32_t y = 0; y < one.height; ++y) {
            const uint32_t* p1 = one.Row(y);
            const uint32_t* p2 = transition ? two.Row(y) : nullptr;
            uint32_t* target = out.Row(y);
            for (int32_t x = 0; x < one.width; ++x) {
                if (one.IsTransparent(p1[x]))
                    target[x] = transition ? p2[x] : color;
                else if (transition && two.IsTransparent(p2[x]))
                    target[x] = p1[x];
                else
                    target[x] = PerChannel(p1[x], transition ? p2[x] : color, fade);
            }
        }
    });
}

FrameChain ComputeInvertOverblend(const Gif* first, const Gif* second, const EffectParams& params,
                                  EffectProgress& progress) {
    const bool overblend = second != nullptr;
    const std::optional<BlendSources> sources = ReadBlendSources(first, second);
    if (!sources) return nullptr;
    const int64_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    const int64_t half = computed / 2;
    const int64_t span = half + 1;
    const uint32_t color = PaletteColor(*first, params.colorIndex);
    const SourcePicture& one = sources->one;
    const SourcePicture& two = sources->two;

    return ComputeFrames(first, second, params, progress, [&](int32_t index, TrueColorBitmap& out) {
        const int64_t i = index;
        // Image 1 toward the colour, then from the colour toward image 2 (or the negative).
        const int64_t a = computed - i, b = half - (a - 1);
        auto towardColor = [&](int64_t p, int64_t c) {
            return ((i + 1) * c + p * (half - i)) / span;
        };
        auto fromColor = [&](int64_t c, int64_t p) { return (c * a + p * b) / span; };
        auto towardNegative = [&](int64_t q, int64_t c) { return (q * b + c * (a - 1)) / half; };
        for (int32_t y = 0; y < one.height; ++y) {
            const uint32_t* p1 = one.Row(y);
            const uint32_t* p2 = overblend ? two.Row(y) : nullptr;
            uint32_t* target = out.Row(y);
            for (int32_t x = 0; x < one.width; ++x) {
                if (i < half) {
                    target[x] =
                        one.IsTransparent(p1[x]) ? p1[x] : PerChannel(p1[x], color, towardColor);
                } else if (overblend) {
                    target[x] =
                        two.IsTransparent(p2[x]) ? p2[x] : PerChannel(color, p2[x], fromColor);
                } else if (one.IsTransparent(p1[x])) {
                    target[x] = p1[x];
                } else {
                    const uint32_t negative = p1[x] ^ 0xFFFFFF;
                    target[x] = half == 0 ? negative : PerChannel(negative, color, towardNegative);
                }
            }
        }
    });
}

FrameChain ComputeColorBlending(const Gif* first, const Gif* second, const EffectParams& params,
                                EffectProgress& progress) {
    if (!first) return nullptr;
    if (!second) return BlendIndicesOut(*first, params, progress);

    const std::optional<BlendSources> sources = ReadBlendSources(first, second);
    if (!sources) return nullptr;
    const bool blendOut = params.check2 != 0;
    const SourcePicture& top = blendOut ? sources->one : sources->two;
    const SourcePicture& base = blendOut ? sources->two : sources->one;
    const auto range = BrightnessRange([&](auto report) {
        for (int32_t y = 0; y < top.height; ++y)
            for (int32_t x = 0; x < top.width; ++x)
                if (!top.IsTransparent(top.Row(y)[x])) report(Brightness(top.Row(y)[x]));
    });
    const BlendLevels levels(range[0], range[1],
                             ComputedCount(params.frameCount, params.pingPong != 0), true,
                             params.check1 != 0, blendOut);

    return ComputeFrames(first, second, params, progress, [&](int32_t index, TrueColorBitmap& out) {
        const int64_t level = levels.Level(index);
        for (int32_t y = 0; y < top.height; ++y) {
            const uint32_t* over = top.Row(y);
            const uint32_t* under = base.Row(y);
            uint32_t* target = out.Row(y);
            for (int32_t x = 0; x < top.width; ++x) {
                const bool shows =
                    !top.IsTransparent(over[x]) && levels.Shows(Brightness(over[x]), level);
                target[x] = shows ? over[x] : under[x];
            }
        }
    });
}

}  // namespace anitrope
