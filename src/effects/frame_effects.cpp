#include <algorithm>
#include <array>
#include <cstdint>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/indexed_frames.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// Columns [begin, end) of one row.
struct Span {
    int32_t begin = 0;
    int32_t end = 0;
};

// Where frame k (1-based) of q steps lays the cover: outward, a border ex columns and ey rows
// deep beyond the outermost ring; inward, a rectangle around the centre that reaches
// ex columns and ey rows from it. Either is the union of the rectangle outlines from
// (c, r) to (W - 1 - c, H - 1 - r) that the steps draw.
class CoverRegion {
public:
    CoverRegion(int32_t width, int32_t height, int64_t k, int64_t q, bool inward)
        : width_(width), height_(height), inward_(inward) {
        const int64_t ex = width / 2 * k / q, ey = height / 2 * k / q;
        if (!inward) {
            ex_ = ex;
            ey_ = ey;
            return;
        }
        ex_ = width / 2 - ex;
        ey_ = height / 2 - ey;
        // The outlines start at the centre and walk outward; a limit still short of the
        // centre leaves them nothing to draw.
        empty_ = ex_ > (int64_t{width} + 1) / 2 - 1 || ey_ > (int64_t{height} + 1) / 2 - 1;
    }

    // The covered spans of row y; they may overlap.
    int Spans(int32_t y, std::array<Span, 2>& spans) const {
        if (inward_) {
            if (empty_ || y < ey_ || y > height_ - 1 - ey_) return 0;
            spans[0] = {Clip(ex_), Clip(width_ - ex_)};
            return 1;
        }
        if (y <= ey_ || y >= height_ - 1 - ey_) {
            spans[0] = {0, width_};
            return 1;
        }
        spans[0] = {0, Clip(ex_ + 1)};
        spans[1] = {Clip(width_ - 1 - ex_), width_};
        return 2;
    }

private:
    int32_t Clip(int64_t x) const { return static_cast<int32_t>(std::clamp<int64_t>(x, 0, width_)); }

    int32_t width_;
    int32_t height_;
    bool inward_;
    int64_t ex_ = 0;
    int64_t ey_ = 0;
    bool empty_ = false;
};

// Steps over which the cover grows: a transition never quite reaches image 2, the effect
// ends all colour.
int64_t CoverSteps(const EffectParams& params, bool transition) {
    const int64_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    return transition ? computed + 1 : computed;
}

// The effect: a border of the colour over image 1's indices.
FrameChain FrameOutIndices(const Gif& first, const EffectParams& params, EffectProgress& progress) {
    const int32_t width = BitmapExtent(first.width), height = BitmapExtent(first.height);
    const int64_t steps = CoverSteps(params, false);
    const uint8_t color = IndexByte(params.colorIndex);
    return ComputeIndexedFrames(
        first, params, progress,
        [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
            std::copy(source, source + width, target);
            std::array<Span, 2> spans;
            const CoverRegion region(width, height, frame + 1, steps, false);
            for (int n = 0, count = region.Spans(y, spans); n < count; ++n)
                std::fill(target + spans[n].begin, target + spans[n].end, color);
        });
}

// The transitions: image 2 over image 1, as a border or from the centre. The frames are copies
// of image 2.
FrameChain CoverWithSecond(const Gif& first, const Gif& second, const EffectParams& params,
                           EffectProgress& progress, bool inward) {
    const SourcePicture one = ReadSource(first), two = ReadSource(second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    const int64_t steps = CoverSteps(params, true);
    return ComputeFrames(nullptr, &second, params, progress, [&](int32_t frame, TrueColorBitmap& out) {
        const CoverRegion region(one.width, one.height, frame + 1, steps, inward);
        std::array<Span, 2> spans;
        for (int32_t y = 0; y < one.height; ++y) {
            const uint32_t* base = one.Row(y);
            const uint32_t* cover = two.Row(y);
            uint32_t* target = out.Row(y);
            std::copy(base, base + one.width, target);
            for (int n = 0, count = region.Spans(y, spans); n < count; ++n) {
                for (int32_t x = spans[n].begin; x < spans[n].end; ++x)
                    if (!two.IsTransparent(cover[x])) target[x] = cover[x];
            }
        }
    });
}

}  // namespace

FrameChain ComputeFrameOut(const Gif* first, const Gif* second, const EffectParams& params,
                           EffectProgress& progress) {
    if (!first) return nullptr;
    return second ? CoverWithSecond(*first, *second, params, progress, false)
                  : FrameOutIndices(*first, params, progress);
}

FrameChain ComputeFrameIn(const Gif* first, const Gif* second, const EffectParams& params,
                          EffectProgress& progress) {
    if (!first || !second) return nullptr;
    return CoverWithSecond(*first, *second, params, progress, true);
}

}  // namespace anitrope
