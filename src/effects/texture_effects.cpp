#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "effects/indexed_frames.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// Each channel moved by `amount` and held within 0-255; the result is opaque.
uint32_t Darken(uint32_t pixel, int32_t amount) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8)
        out |=
            static_cast<uint32_t>(std::max(0, static_cast<int32_t>(pixel >> shift & 0xFF) - amount))
            << shift;
    return out;
}

uint32_t Lighten(uint32_t pixel, int32_t amount) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8)
        out |= static_cast<uint32_t>(
                   std::min(255, static_cast<int32_t>(pixel >> shift & 0xFF) + amount))
               << shift;
    return out;
}

// Paints rows [firstRow, endRow) of frame `frame` from the frame before it.
using DeriveRows = std::function<void(int32_t frame, const TrueColorBitmap& from,
                                      TrueColorBitmap& to, int32_t firstRow, int32_t endRow)>;

// Frames that deepen a texture step by step: frame 0 derives from image 1, every later one
// from the frame before, so the frames wait for each other and only their rows are shared out.
FrameChain DeriveFrames(const Gif& first, const SourcePicture& one, const EffectParams& params,
                        EffectProgress& progress, const DeriveRows& derive) {
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    FrameChain chain = MakeOutputFrames(&first, nullptr, computed);
    if (!chain) return nullptr;
    const std::vector<Gif*> frames = ChainFrames(chain.get());

    if (!params.preview) progress.Announce(computed);
    bool ok = true;
    for (int32_t k = 0; k < computed && ok; ++k) {
        const TrueColorBitmap& from = k == 0 ? *one.pixels : *frames[k - 1]->trueColor;
        TrueColorBitmap& to = *frames[k]->trueColor;
        ok = ForRowBlocks(one.height, progress, [&](int32_t firstRow, int32_t endRow) {
            derive(k, from, to, firstRow, endRow);
        });
        if (ok && !params.preview) ok = progress.Step();
    }
    if (!params.preview) progress.End();
    if (!ok) return nullptr;
    if (params.pingPong &&
        !AppendPingPong(chain.get(), static_cast<std::size_t>(params.frameCount)))
        return nullptr;
    return FinishFrames(std::move(chain), params.preview != 0, progress);
}

// Image 1 as a texture reads it; invalid for a missing picture.
SourcePicture ReadTextureSource(const Gif* first, const EffectParams& params) {
    if (!first || params.frameCount < 1) return {};
    return ReadSource(*first);
}

// --- Checkers ---------------------------------------------------------------------------------

struct CheckersGrid {
    int32_t spacing;  // s: between grooves, the same across and down
    int32_t darken;   // d, in the grooves
    int32_t lighten;  // e, on their bevels
    int32_t maxHalf;  // the groove half-width stops growing here

    // The half-width g of frame k: 1, then one more per frame while below s / 3.
    int32_t Half(int32_t frame) const { return std::min(1 + frame, std::max(1, maxHalf)); }
};

// One row: the vertical grooves from the source, in order, so that where a groove's bevel
// meets its neighbour the later one wins; then the horizontal grooves on what that left, so
// that crossings darken twice.
void CheckersRow(const CheckersGrid& grid, int32_t g, int32_t width, int32_t height, int32_t y,
                 const uint32_t* source, uint32_t* target) {
    std::copy(source, source + width, target);
    const int32_t s = grid.spacing;
    auto span = [&](int64_t begin, int64_t end, auto op) {
        for (int64_t x = std::max<int64_t>(begin, 0); x < std::min<int64_t>(end, width); ++x)
            target[x] = op(source[x]);
    };
    auto dark = [&](uint32_t p) { return Darken(p, grid.darken); };
    auto light = [&](uint32_t p) { return Lighten(p, grid.lighten); };
    for (int64_t x = s; x < width; x += s) {
        span(x - g, x + g, dark);
        span(x - 2 * g - 1, x - g, light);
        span(x + g, x + 2 * g + 1, light);
    }
    // Only grooves whose reach [Y - 2g - 1, Y + 2g + 1) covers this row.
    const int64_t lowest = std::max<int64_t>(s, (int64_t{y} - 2 * g + s - 1) / s * s);
    for (int64_t row = lowest; row < height && row <= int64_t{y} + 2 * g + 1; row += s) {
        const bool groove = y >= row - g && y < row + g;
        for (int32_t x = 0; x < width; ++x)
            target[x] = groove ? Darken(target[x], grid.darken) : Lighten(target[x], grid.lighten);
    }
}

// --- Weave ------------------------------------------------------------------------------------

constexpr int32_t kThreadGap = 11;

// One row r of a Weave frame. The writes of the whole frame go block by block (j), and within
// a block row by row, each row's vertical thread before the horizontal thread on that row; a
// horizontal thread reaches three rows either side. Replaying, for this row, only the writes
// that land on it, in that same order, gives the same pixels as the whole frame in order.
void WeaveRow(int32_t c, int32_t width, int32_t height, int32_t r, const uint32_t* source,
              uint32_t* target) {
    std::copy(source, source + width, target);
    const int32_t t = c / 2;
    auto dark = [&](int32_t x, int32_t amount) {
        if (x >= 0 && x < width) target[x] = Darken(source[x], amount);
    };
    auto light = [&](int32_t x, int32_t amount) {
        if (x >= 0 && x < width) target[x] = Lighten(source[x], amount);
    };
    for (int32_t j = 0; j < width; j += kThreadGap) {
        for (int32_t y = std::max(r - 3, 0); y <= std::min(r + 3, height - 1); ++y) {
            if (y == r) {
                dark(j, c);
                dark(j - 1, t);
                dark(j + 1, t);
                if (j >= kThreadGap) {
                    light(j - 3, c);
                    light(j - 2, t);
                }
                light(j + 2, t);
                light(j + 3, c);
            }
            if (y % kThreadGap != 0) continue;
            const int32_t offset = r - y;
            for (int32_t x = std::max(j - kThreadGap, 0);
                 x <= std::min(j + kThreadGap - 1, width - 1); ++x) {
                if (offset == 0) dark(x, c);
                if (offset == -1 || offset == 1) dark(x, t);
                if (x >= j - 3 && x <= j + 3) continue;  // where the threads cross
                if (offset == -3 && y >= kThreadGap) light(x, c);
                if (offset == -2 && y >= kThreadGap) light(x, t);
                if (offset == 2) light(x, t);
                if (offset == 3) light(x, c);
            }
        }
    }
}

// --- Fringe -----------------------------------------------------------------------------------

// Bands of width w across the picture (columns for Top/Bottom, rows for Left/Right); in frame
// k (1-based) the even ones are filled from the start edge over a·k pixels, the odd ones from
// the far edge.
struct FringeBands {
    int32_t width;
    int32_t height;
    int32_t band;  // w; none when not above 0
    bool across;   // Left/Right: the bands are rows and fill along x
    int32_t advance;

    FringeBands(int32_t w, int32_t h, int32_t bandWidth, int32_t direction, int32_t computed)
        : width(w), height(h), band(bandWidth), across(direction == 1) {
        advance = std::max((across ? width : height) / std::max(computed, 1), 1);
    }

    // Calls fill(begin, end) for each span of row y that frame k fills.
    template <class Fill>
    void Spans(int32_t k, int32_t y, Fill fill) const {
        if (band <= 0) return;  // no bands: the picture stays as it is
        const int64_t length = across ? width : height;
        const int64_t reach = std::min<int64_t>(int64_t{advance} * k, length);
        if (across) {
            const bool even = y / band % 2 == 0;
            if (even)
                fill(0, static_cast<int32_t>(reach));
            else
                fill(static_cast<int32_t>(length - reach), width);
            return;
        }
        const bool evenFilled = y < reach, oddFilled = y >= length - reach;
        bool even = true;
        for (int64_t x = 0; x < width; x += band, even = !even)
            if (even ? evenFilled : oddFilled)
                fill(static_cast<int32_t>(x),
                     static_cast<int32_t>(std::min<int64_t>(x + band, width)));
    }
};

// The effect paints image 1's indices with the colour's index, so its frames need no colour
// reduction.
FrameChain FringeIndices(const Gif& first, const EffectParams& params, EffectProgress& progress) {
    const FringeBands bands(BitmapExtent(first.width), BitmapExtent(first.height), params.value1,
                            params.direction,
                            ComputedCount(params.frameCount, params.pingPong != 0));
    const auto color = static_cast<uint8_t>(
        params.colorIndex >= 0 && params.colorIndex < kPaletteSlots ? params.colorIndex : 0);
    return ComputeIndexedFrames(
        first, params, progress,
        [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
            std::copy(source, source + bands.width, target);
            bands.Spans(frame + 1, y,
                        [&](int32_t a, int32_t b) { std::fill(target + a, target + b, color); });
        });
}

FrameChain FringeTransition(const Gif& first, const Gif& second, const EffectParams& params,
                            EffectProgress& progress) {
    if (params.frameCount < 2) return nullptr;
    const SourcePicture one = ReadSource(first), two = ReadSource(second);
    if (!one.Valid() || !two.Valid() || two.width != one.width || two.height != one.height)
        return nullptr;
    const FringeBands bands(one.width, one.height, params.value1, params.direction,
                            ComputedCount(params.frameCount, params.pingPong != 0));
    return ComputeFrames(&first, &second, params, progress,
                         [&](int32_t index, TrueColorBitmap& out) {
                             for (int32_t y = 0; y < one.height; ++y) {
                                 const uint32_t* p1 = one.Row(y);
                                 const uint32_t* p2 = two.Row(y);
                                 uint32_t* target = out.Row(y);
                                 std::copy(p1, p1 + one.width, target);
                                 bands.Spans(index + 1, y, [&](int32_t a, int32_t b) {
                                     for (int32_t x = a; x < b; ++x)
                                         target[x] = p2[x] & ~TransparentBit;
                                 });
                             }
                         });
}

}  // namespace

int SetupFringe(EffectSlots& slots, SetupMode mode) {
    if (mode == SetupMode::CheckChanged && !slots.TransitionChosen()) {
        // Transparent fringes take no colour.
        if (slots.Checked(1))
            slots.DisableColor();
        else
            slots.EnableColor();
    }
    if (mode != SetupMode::Validate) return 1;
    const int32_t half = slots.ImageWidth() / 2;
    const int32_t w = slots.Value(1);
    if (w < 0 || w > half) {
        slots.Refuse("Width of fringe must be between 0 and half-width of image (=" +
                         std::to_string(half) + ")",
                     "Parameter out of Range", 1);
        return 0;
    }
    return RequireTwoFramesForTransition(slots);
}

FrameChain ComputeCheckers(const Gif* first, const Gif*, const EffectParams& params,
                           EffectProgress& progress) {
    const SourcePicture one = ReadTextureSource(first, params);
    if (!one.Valid()) return nullptr;
    const int32_t h = ComputedCount(params.frameCount, params.pingPong != 0);
    const int32_t s = std::max({one.width / h, one.height / h, 6});
    const int32_t d = std::max(100 / h, 2);
    const CheckersGrid grid{s, d, d / 2, s / 3};
    return DeriveFrames(*first, one, params, progress,
                        [&](int32_t k, const TrueColorBitmap& from, TrueColorBitmap& to,
                            int32_t firstRow, int32_t endRow) {
                            for (int32_t y = firstRow; y < endRow; ++y)
                                CheckersRow(grid, grid.Half(k), one.width, one.height, y,
                                            from.Row(y), to.Row(y));
                        });
}

FrameChain ComputeWeave(const Gif* first, const Gif*, const EffectParams& params,
                        EffectProgress& progress) {
    const SourcePicture one = ReadTextureSource(first, params);
    if (!one.Valid()) return nullptr;
    // From the whole count, PingPong or not.
    const int32_t c = std::max(128 / params.frameCount, 2);
    return DeriveFrames(*first, one, params, progress,
                        [&](int32_t, const TrueColorBitmap& from, TrueColorBitmap& to,
                            int32_t firstRow, int32_t endRow) {
                            for (int32_t y = firstRow; y < endRow; ++y)
                                WeaveRow(c, one.width, one.height, y, from.Row(y), to.Row(y));
                        });
}

FrameChain ComputeFringe(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress) {
    if (!first) return nullptr;
    return second ? FringeTransition(*first, *second, params, progress)
                  : FringeIndices(*first, params, progress);
}

}  // namespace anitrope
