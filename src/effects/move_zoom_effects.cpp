#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "effects/indexed_frames.h"
#include "effects/source_rows.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kImage1OnTop = "Moves both Images,with Image 1 on top of Image 2.";
constexpr const char* kImage2OnTop = "Moves both Images,with Image 2 on top of Image 1.";

// Image 1 and image 2 as true colour over the same rectangle; none when either is unreadable.
std::optional<std::array<SourcePicture, 2>> ReadPair(const Gif& first, const Gif& second) {
    std::array<SourcePicture, 2> pair{ReadSource(first), ReadSource(second)};
    if (!pair[0].Valid() || !pair[1].Valid() || pair[0].width != pair[1].width ||
        pair[0].height != pair[1].height)
        return std::nullopt;
    return pair;
}

// Paints row y of computed frame `index`; rows of one frame may be painted on several threads
// at once.
template <class Pixel>
using PaintRow = std::function<void(int32_t index, int32_t y, Pixel* target)>;

// With two images: true colour, every frame on its own.
FrameChain RunTrueColor(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress, const PaintRow<uint32_t>& paint) {
    return ComputeFrames(first, second, params, progress, [&](int32_t index, TrueColorBitmap& out) {
        for (int32_t y = 0; y < out.Height(); ++y) paint(index, y, out.Row(y));
    });
}

// With image 1 alone: its indices and palette, so the frames need no colour reduction.
FrameChain RunIndexed(const Gif& first, const EffectParams& params, EffectProgress& progress,
                      const PaintRow<uint8_t>& paint) {
    return ComputeIndexedFrames(first, params, progress,
                                [&](int32_t index, int32_t y, const uint8_t*, uint8_t* target) {
                                    paint(index, y, target);
                                });
}

struct Offset {
    int64_t x = 0;
    int64_t y = 0;
};

// Where a list item sends an image, or whence it brings it, in widths and heights: clockwise
// from the top, as the lists name them.
Offset DirectionVector(int32_t item, int64_t w, int64_t h) {
    constexpr int64_t kWays[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                                     {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};
    if (item < 0 || item >= 8) return {};  // nothing selected: the image stays
    return {kWays[item][0] * w, kWays[item][1] * h};
}

// Step k of `steps` from `from` to `to`, truncated toward zero as the frames have always been.
Offset Along(Offset from, Offset to, int64_t k, int64_t steps) {
    return {from.x + (to.x - from.x) * k / steps, from.y + (to.y - from.y) * k / steps};
}

// Row y of `layer` drawn with its top-left corner at `at`; pixels that let through keep what
// lies below. The layer has the frame's size.
template <class Pixel>
void DrawShifted(const SourceRows<Pixel>& layer, Offset at, int32_t y, Pixel* target) {
    const int64_t w = layer.width, h = layer.height;
    if (at.x >= w || w + at.x <= 0 || y < at.y || y >= h + at.y) return;
    const auto x0 = static_cast<int32_t>(std::max<int64_t>(at.x, 0));
    const auto x1 = static_cast<int32_t>(std::min(w, w + at.x));
    const auto dx = static_cast<int32_t>(at.x);
    const Pixel* source = layer.rows[static_cast<std::size_t>(y - at.y)];
    for (int32_t x = x0; x < x1; ++x)
        if (const Pixel p = source[x - dx]; !layer.Clear(p)) target[x] = p;
}

enum class Mover { First, Second, Both };

FrameChain ComputeMove(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress, Mover mover) {
    if (!first || (mover != Mover::First && !second)) return nullptr;
    if (params.frameCount < 2 && (second || params.pingPong)) return nullptr;
    const int64_t n = ComputedCount(params.frameCount, params.pingPong != 0);
    const int64_t w = BitmapExtent(first->width), h = BitmapExtent(first->height);
    // Image 1 leaves from where it is; image 2 arrives where it belongs. The image a row does
    // not move stays put whatever its list held before.
    const Offset end1 = mover == Mover::Second ? Offset{} : DirectionVector(params.direction, w, h);
    const Offset start2 = mover == Mover::First ? Offset{} : DirectionVector(params.option, w, h);
    // A transition stops short of both ends; the effect ends with image 1 gone.
    const int64_t steps1 = second ? n + 1 : n;
    auto offsets = [&](int32_t index) -> std::array<Offset, 2> {
        if (n <= 1) return {Offset{}, start2};
        const int64_t k = int64_t{index} + 1;
        return {Along({}, end1, k, steps1), Along(start2, {}, k, n + 1)};
    };

    if (!second) {
        const std::optional<SourceRows<uint8_t>> one = IndexedRows(*first);
        if (!one) return nullptr;
        const uint8_t color = IndexByte(params.colorIndex);
        return RunIndexed(*first, params, progress, [&](int32_t index, int32_t y, uint8_t* target) {
            std::fill_n(target, one->width, color);
            DrawShifted(*one, offsets(index)[0], y, target);
        });
    }
    const auto pair = ReadPair(*first, *second);
    if (!pair) return nullptr;
    const SourceRows<uint32_t> layers[2] = {TrueColorRows((*pair)[0]), TrueColorRows((*pair)[1])};
    const bool twoOnTop = mover == Mover::Second || (mover == Mover::Both && params.check1 != 0);
    const int lower = twoOnTop ? 0 : 1;
    const uint32_t color = PaletteColor(*first, params.colorIndex);
    return RunTrueColor(first, second, params, progress,
                        [&](int32_t index, int32_t y, uint32_t* target) {
                            const std::array<Offset, 2> at = offsets(index);
                            std::fill_n(target, layers[0].width, color);
                            DrawShifted(layers[lower], at[lower], y, target);
                            DrawShifted(layers[1 - lower], at[1 - lower], y, target);
                        });
}

// One zoom frame: the scale the source is read at and its rotation, worked out once a row
// rather than once a pixel.
struct ZoomStep {
    bool shown = false;  // false: the image has shrunk to nothing
    double scale = 0;    // frame distance to source distance: the inverse of the drawn size
    bool rotate = false;
    double cosine = 1;
    double sine = 0;
};

// Step k of n. With a background image the sizes run in n + 1 steps, so neither image is ever
// shown whole; the effect shrinks image 1 to nothing in its last frame.
ZoomStep ZoomAt(int64_t k, int64_t n, bool background, double angle) {
    const int64_t b = background ? 1 : 0;
    const int64_t t = n + b, kb = k + b;
    ZoomStep step;
    if (kb <= 0) return step;
    step.shown = true;
    step.scale = static_cast<double>(t) / static_cast<double>(kb);
    // Degrees to radians with the constants the sequences have always been made with.
    const double turn = angle * 3.141592654 * 0.005555555555555556;
    const double theta = static_cast<double>(t - kb) * turn / static_cast<double>(t);
    step.rotate = theta != 0 && turn != 0;
    step.cosine = std::cos(theta);
    step.sine = std::sin(theta);
    return step;
}

// Each pixel of row y looks up its source pixel about the centre, nearest by truncation. The
// layer has the frame's size.
template <class Pixel>
void DrawZoomed(const SourceRows<Pixel>& layer, const ZoomStep& step, int32_t y, Pixel* target) {
    const int32_t w = layer.width, h = layer.height;
    const double cx = w * 0.5, cy = h * 0.5;
    const double v = (y - cy) * step.scale;
    for (int32_t x = 0; x < w; ++x) {
        const double u = (x - cx) * step.scale;
        double ru = u, rv = v;
        if (step.rotate) {
            ru = step.cosine * u - step.sine * v;
            rv = step.cosine * v + step.sine * u;
        }
        const double sx = cx + ru, sy = cy + rv;
        // Truncated toward zero, exactly the samples above -1 and below the size land inside;
        // any farther (however far, or not a number) shows the background.
        if (!(sx > -1.0 && sx < w && sy > -1.0 && sy < h)) continue;
        const Pixel p = layer.rows[static_cast<std::size_t>(sy)][static_cast<int32_t>(sx)];
        if (!layer.Clear(p)) target[x] = p;
    }
}

FrameChain ComputeZoom(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress, bool zoomIn) {
    if (!first || (zoomIn && !second)) return nullptr;
    const int64_t n = ComputedCount(params.frameCount, params.pingPong != 0);
    // Zooming in unwinds the turn that zooming out winds up.
    const double angle = zoomIn ? -static_cast<double>(params.value1) : params.value1;
    auto stepOf = [&](int32_t index) {
        const int64_t k = zoomIn ? index : n - 1 - index;
        return ZoomAt(k, n, second != nullptr, angle);
    };

    if (!second) {
        const std::optional<SourceRows<uint8_t>> one = IndexedRows(*first);
        if (!one) return nullptr;
        const uint8_t color = IndexByte(params.colorIndex);
        return RunIndexed(*first, params, progress, [&](int32_t index, int32_t y, uint8_t* target) {
            std::fill_n(target, one->width, color);
            if (const ZoomStep step = stepOf(index); step.shown) DrawZoomed(*one, step, y, target);
        });
    }
    const auto pair = ReadPair(*first, *second);
    if (!pair) return nullptr;
    const SourceRows<uint32_t> layers[2] = {TrueColorRows((*pair)[0]), TrueColorRows((*pair)[1])};
    const SourceRows<uint32_t>& zoomed = layers[zoomIn ? 1 : 0];
    const SourceRows<uint32_t>& background = layers[zoomIn ? 0 : 1];
    return RunTrueColor(
        first, second, params, progress, [&](int32_t index, int32_t y, uint32_t* target) {
            // Transparent background pixels stay transparent.
            std::copy_n(background.rows[static_cast<std::size_t>(y)], background.width, target);
            if (const ZoomStep step = stepOf(index); step.shown)
                DrawZoomed(zoomed, step, y, target);
        });
}

}  // namespace

int SetupMove(EffectSlots& slots, SetupMode mode) {
    return mode == SetupMode::CheckChanged ? RequireTwoFramesForTransition(slots) : 1;
}

int SetupMoveBoth(EffectSlots& slots, SetupMode mode) {
    if (mode == SetupMode::Init || mode == SetupMode::CheckChanged)
        slots.Describe(slots.Checked(1) ? kImage2OnTop : kImage1OnTop);
    return SetupMove(slots, mode);
}

FrameChain ComputeMoveFirst(const Gif* first, const Gif* second, const EffectParams& params,
                            EffectProgress& progress) {
    return ComputeMove(first, second, params, progress, Mover::First);
}

FrameChain ComputeMoveSecond(const Gif* first, const Gif* second, const EffectParams& params,
                             EffectProgress& progress) {
    return ComputeMove(first, second, params, progress, Mover::Second);
}

FrameChain ComputeMoveBoth(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress) {
    return ComputeMove(first, second, params, progress, Mover::Both);
}

FrameChain ComputeZoomIn(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress) {
    return ComputeZoom(first, second, params, progress, true);
}

FrameChain ComputeZoomOut(const Gif* first, const Gif* second, const EffectParams& params,
                          EffectProgress& progress) {
    return ComputeZoom(first, second, params, progress, false);
}

}  // namespace anitrope
