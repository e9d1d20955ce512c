#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "effects/indexed_frames.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/frame_chain.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// --- Radar -------------------------------------------------------------------------------------

// The list's positions: the centre, then the corners the beam sweeps from.
enum RadarPosition : int32_t { kCenter = 0, kTopRight, kTopLeft, kBottomLeft, kBottomRight };

// What a position makes of the sweep: the pixel it turns about, the degrees it spans and where
// it starts (mathematical sense: 0 right, 90 up).
struct Sweep {
    int64_t cx = 0;
    int64_t cy = 0;
    int64_t span = 360;
    int64_t start = 0;
};

// A start angle brought into 0 ... 360; a negative one lands on 360 itself when it is a whole
// turn, so that -360 still starts straight to the right.
int64_t NormalisedStart(int32_t value) {
    const int64_t v = value;
    if (v >= 0) return v % 360;
    return v + 360 * (-v / 360 + 1);
}

Sweep SweepOf(int32_t position, bool clockwise, int32_t startAngle, int64_t w, int64_t h) {
    // A corner's quarter is the one that looks into the picture; clockwise starts at its
    // other edge.
    switch (position) {
        case kTopRight:
            return {w - 1, 0, 90, clockwise ? 270 : 180};
        case kTopLeft:
            return {0, 0, 90, clockwise ? 0 : 270};
        case kBottomLeft:
            return {0, h - 1, 90, clockwise ? 90 : 0};
        case kBottomRight:
            return {w - 1, h - 1, 90, clockwise ? 180 : 90};
        default:
            return {w / 2, h / 2, 360, NormalisedStart(startAngle)};  // "Center", or none chosen
    }
}

// The beam's pivot pixel is always swept.
constexpr int16_t kPivot = -1;

// Every pixel's direction from the pivot in whole degrees (0 ... 360), row by row; the same
// for every frame, so worked out once.
std::vector<int16_t> PixelAngles(int32_t w, int32_t h, const Sweep& sweep) {
    std::vector<int16_t> angles(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::size_t i = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x, ++i) {
            const double dx = static_cast<double>(x - sweep.cx);
            const double dy = static_cast<double>(sweep.cy - y);
            if (dx == 0 && dy == 0) {
                angles[i] = kPivot;
                continue;
            }
            double theta = std::acos(dx / std::sqrt(dx * dx + dy * dy)) * 57.29577950560105;
            if (dy < 0) theta = 360 - theta;
            if (theta >= 360)
                theta -= 360;
            else if (theta < 0)
                theta += 360;
            angles[i] = static_cast<int16_t>(std::floor(theta + 0.5));
        }
    }
    return angles;
}

// The swept sector of frame k (0-based) of n: from the start angle, S / (n + 1) further per
// frame, so the last frame still leaves a slice of the span unswept.
struct Sector {
    double start = 0;
    double end = 0;
    bool clockwise = false;

    Sector(const Sweep& sweep, bool cw, int64_t k, int64_t n)
        : start(static_cast<double>(sweep.start)), clockwise(cw) {
        const int64_t turn = (cw ? -1 : 1) * sweep.span * (k + 1);
        end = start + static_cast<double>(turn) / static_cast<double>(n + 1);
    }

    // A sector reaching past 0 (or 360) also holds the angles a turn away.
    bool Holds(int16_t angle) const {
        if (angle == kPivot) return true;
        const double t = angle;
        if (!clockwise) return (start <= t && t <= end) || (start <= t + 360 && t + 360 <= end);
        return (end <= t && t <= start) || (end <= t - 360 && t - 360 <= start);
    }
};

FrameChain RadarIndices(const Gif& first, const EffectParams& params, EffectProgress& progress,
                        const Sweep& sweep, const std::vector<int16_t>& angles) {
    const int32_t w = BitmapExtent(first.width);
    const int64_t n = ComputedCount(params.frameCount, params.pingPong != 0);
    const bool cw = params.check1 != 0;
    const uint8_t color = IndexByte(params.colorIndex);
    return ComputeIndexedFrames(
        first, params, progress,
        [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
            const Sector sector(sweep, cw, frame, n);
            const int16_t* row =
                angles.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
            for (int32_t x = 0; x < w; ++x) target[x] = sector.Holds(row[x]) ? color : source[x];
        });
}

FrameChain RadarColours(const Gif& first, const Gif& second, const EffectParams& params,
                        EffectProgress& progress, const Sweep& sweep,
                        const std::vector<int16_t>& angles) {
    const SourcePicture one = ReadSource(first), two = ReadSource(second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    const int64_t n = ComputedCount(params.frameCount, params.pingPong != 0);
    const bool cw = params.check1 != 0;
    return ComputeFrames(
        &first, &second, params, progress, [&](int32_t frame, TrueColorBitmap& out) {
            const Sector sector(sweep, cw, frame, n);
            const int16_t* angle = angles.data();
            for (int32_t y = 0; y < one.height; ++y) {
                const uint32_t* base = one.Row(y);
                const uint32_t* cover = two.Row(y);
                uint32_t* target = out.Row(y);
                // Where image 2 lets through, the beam shows image 1.
                for (int32_t x = 0; x < one.width; ++x, ++angle)
                    target[x] =
                        sector.Holds(*angle) && !two.IsTransparent(cover[x]) ? cover[x] : base[x];
            }
        });
}

// --- Rotor -------------------------------------------------------------------------------------

// Row y has turned p - y degrees once the wave has reached p, and stays upside down from half a
// turn on. The constants are those the sequences have always been made with.
double RowCosine(int64_t p, int32_t y) {
    const int64_t degrees = p - y;
    return std::cos(degrees <= 180 ? static_cast<double>(degrees) * 0.017453292519944444
                                   : 3.14159265359);
}

// The source column that column x of a row turned to `cosine` shows, about the centre column;
// -1 beyond the foreshortened row. A row seen edge-on divides by nearly nothing, and the
// quotient may not fit an integer (nor be a number at all), so it is compared as a double.
int32_t TurnedColumn(int32_t x, int32_t w, double cosine) {
    const int32_t half = w / 2;
    const double k = std::trunc(static_cast<double>(half - x) / cosine + 0.5);
    const double sx = half - k;
    return sx >= 0 && sx < w ? static_cast<int32_t>(sx) : -1;
}

// The wave runs from the top row to H + 180, where the bottom row has turned over, in equal
// steps; one frame per step, which may be more than the frames asked for.
struct RotorRun {
    int64_t step = 1;
    int64_t frames = 0;
};

RotorRun RotorSteps(int32_t height, int64_t computed, bool rounded) {
    const int64_t reach = int64_t{height} + 180;
    int64_t step = rounded
                       ? static_cast<int64_t>(
                             static_cast<double>(reach) / static_cast<double>(computed + 1) + 0.5)
                       : reach / (computed + 1);
    // More frames than steps: a step of 0 would never reach the end; one per degree does,
    // in fewer frames than were asked for.
    step = std::max<int64_t>(step, 1);
    return {step, reach / step};
}

// PingPong's way back: copies of computed frames `from` down to 1 (1-based) after the last
// frame, the way back thus ending on the first frame even when the wave made extra frames.
bool AppendWayBack(Gif* chain, int32_t from) {
    const std::vector<Gif*> frames = ChainFrames(chain);
    Gif* tail = frames.back();
    for (int32_t i = from; i >= 1; --i) {
        Gif* copy = CreateGif(*tail->animation, tail, nullptr);
        tail->next = copy;
        if (DuplicateGif(*frames[static_cast<std::size_t>(i - 1)], copy, true) != 0) {
            DiscardGif(copy);  // unlinks it from the tail again
            return false;
        }
        tail = copy;
    }
    return true;
}

// The frames a Rotor run makes in all: the wave's, then the way back.
struct RotorPlan {
    RotorRun run;
    int32_t wayBack = 0;
};

bool PlanRotor(const Gif& first, const EffectParams& params, bool rounded, RotorPlan& plan) {
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    if (computed <= 0 || BitmapExtent(first.width) <= 0 || BitmapExtent(first.height) <= 0)
        return false;
    plan.run = RotorSteps(BitmapExtent(first.height), computed, rounded);
    // Without enough degrees to go round, the wave makes fewer frames than half the run;
    // the way back copies those there are.
    plan.wayBack =
        params.pingPong
            ? static_cast<int32_t>(std::min<int64_t>(params.frameCount - computed, plan.run.frames))
            : 0;
    // The wave may make more frames than were asked for; they must fit all the same.
    return FramesFit(first, plan.run.frames + plan.wayBack);
}

FrameChain RotorIndices(const Gif& first, const EffectParams& params, EffectProgress& progress) {
    RotorPlan plan;
    if (!PlanRotor(first, params, false, plan)) return nullptr;
    EffectParams wave = params;
    wave.frameCount = static_cast<int32_t>(plan.run.frames);
    wave.pingPong = 0;
    const int32_t w = BitmapExtent(first.width);
    const uint8_t color = IndexByte(params.colorIndex);
    const bool keyed = first.transparent != 0;
    FrameChain chain =
        ComputeIndexedFrames(first, wave, progress,
                             [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
                                 std::copy(source, source + w, target);
                                 const int64_t p = (int64_t{frame} + 1) * plan.run.step;
                                 if (y >= p) return;
                                 const double cosine = RowCosine(p, y);
                                 for (int32_t x = 0; x < w; ++x) {
                                     if (const int32_t sx = TurnedColumn(x, w, cosine); sx >= 0)
                                         target[x] = source[sx];
                                     else if (!keyed || source[x] != first.transparentIndex)
                                         target[x] = color;
                                 }
                             });
    if (!chain || !AppendWayBack(chain.get(), plan.wayBack)) return nullptr;
    return chain;
}

FrameChain RotorColours(const Gif& first, const Gif& second, const EffectParams& params,
                        EffectProgress& progress) {
    const SourcePicture one = ReadSource(first), two = ReadSource(second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    RotorPlan plan;
    if (!PlanRotor(first, params, true, plan)) return nullptr;
    const int32_t w = one.width;
    // The colour as the frame's reduction will see it: its transparent index stays see-through.
    const uint32_t color =
        PaletteColor(first, params.colorIndex) |
        (first.transparent && params.colorIndex == first.transparentIndex ? TransparentBit : 0);
    const auto frames = static_cast<int32_t>(plan.run.frames);
    FrameChain chain = MakeOutputFrames(&first, nullptr, frames);
    if (!chain) return nullptr;
    const bool painted =
        PaintFrames(chain.get(), frames, params.preview != 0, progress,
                    [&](int32_t frame, TrueColorBitmap& out) {
                        const int64_t p = (int64_t{frame} + 1) * plan.run.step;
                        for (int32_t y = 0; y < one.height; ++y) {
                            const uint32_t* front = one.Row(y);
                            const uint32_t* back = two.Row(y);
                            uint32_t* target = out.Row(y);
                            std::copy(front, front + w, target);
                            if (y >= p) continue;
                            const double cosine = RowCosine(p, y);
                            // Past a quarter turn the row shows its back: image 2, mirrored so that
                            // it reads the right way round.
                            const bool turnedOver = p - y >= 90;
                            for (int32_t x = 0; x < w; ++x) {
                                if (const int32_t sx = TurnedColumn(x, w, cosine); sx >= 0)
                                    target[x] = turnedOver ? back[two.width - sx - 1] : front[sx];
                                else if (!one.IsTransparent(front[x]))
                                    target[x] = color;
                            }
                        }
                    });
    if (!painted || !AppendWayBack(chain.get(), plan.wayBack)) return nullptr;
    return FinishFrames(std::move(chain), params.preview != 0, progress);
}

}  // namespace

int SetupRadar(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::ComboChanged) return 1;
    // Only the centre sweeps from a chosen angle; the corners start at an edge.
    const int item = slots.ListSelection(1);
    if (item == kCenter)
        slots.EnableValue(1, std::nullopt, std::nullopt);
    else if (item > kCenter)
        slots.DisableValue(1);
    return 1;
}

FrameChain ComputeRadar(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress) {
    if (!first || ComputedCount(params.frameCount, params.pingPong != 0) <= 0) return nullptr;
    const int32_t w = BitmapExtent(first->width), h = BitmapExtent(first->height);
    if (w <= 0 || h <= 0) return nullptr;
    const Sweep sweep = SweepOf(params.direction, params.check1 != 0, params.value1, w, h);
    const std::vector<int16_t> angles = PixelAngles(w, h, sweep);
    return second ? RadarColours(*first, *second, params, progress, sweep, angles)
                  : RadarIndices(*first, params, progress, sweep, angles);
}

FrameChain ComputeRotor(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress) {
    if (!first) return nullptr;
    return second ? RotorColours(*first, *second, params, progress)
                  : RotorIndices(*first, params, progress);
}

}  // namespace anitrope
