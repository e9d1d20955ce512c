#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_random.h"
#include "effects/indexed_frames.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// A pixel that no computed frame changes.
constexpr int32_t kNever = std::numeric_limits<int32_t>::max();

// Below this many left to place, pixels are no longer drawn by position (most draws would hit
// a pixel already taken) but counted out among the free ones.
constexpr int64_t kCountingBelow = 101;

// The free pixels in row order. Counting out the d-th free one along the rows costs a walk
// over the picture per pixel; a binary indexed tree of the free counts finds the same one in
// log steps.
class FreePixels {
public:
    explicit FreePixels(const std::vector<int32_t>& changed)
        : size_(static_cast<int64_t>(changed.size())), tree_(changed.size() + 1, 0) {
        for (int64_t i = 1; i <= size_; ++i) {
            tree_[static_cast<std::size_t>(i)] +=
                changed[static_cast<std::size_t>(i - 1)] == kNever;
            const int64_t parent = i + (i & -i);
            if (parent <= size_)
                tree_[static_cast<std::size_t>(parent)] += tree_[static_cast<std::size_t>(i)];
        }
        while (top_ * 2 <= size_) top_ *= 2;
    }

    // The pixel with `k` free ones before it; none when fewer than k + 1 are free.
    std::optional<int64_t> Find(int64_t k) const {
        int64_t position = 0;
        for (int64_t step = top_; step > 0; step /= 2) {
            const int64_t next = position + step;
            if (next <= size_ && tree_[static_cast<std::size_t>(next)] <= k) {
                position = next;
                k -= tree_[static_cast<std::size_t>(next)];
            }
        }
        if (position >= size_) return std::nullopt;
        return position;
    }

    void Take(int64_t pixel) {
        for (int64_t i = pixel + 1; i <= size_; i += i & -i) --tree_[static_cast<std::size_t>(i)];
    }

private:
    int64_t size_;
    std::vector<int32_t> tree_;  // a picture that fits in memory has fewer than 2^31 pixels
    int64_t top_ = 1;
};

// For every pixel, the computed frame (0-based) that changes it first; none when the counting
// finds no free pixel.
std::optional<std::vector<int32_t>> ShineOrder(int32_t width, int32_t height, int32_t computed,
                                               EffectRandom& random) {
    const int64_t pixels = int64_t{width} * height;
    const int64_t perFrame = pixels / (int64_t{computed} + 1);
    std::vector<int32_t> changed(static_cast<std::size_t>(pixels), kNever);

    std::optional<FreePixels> free;  // made when the counting starts
    int64_t left = pixels - 2;
    for (int32_t frame = 0; frame < computed; ++frame) {
        for (int64_t i = 0; i < perFrame; ++i, --left) {
            if (left < kCountingBelow) {
                if (!free) free.emplace(changed);
                // With nothing left to draw from (the last pixel of a run as long as the
                // picture has pixels) the draw is 0, which the counting takes as the top-left.
                int64_t d = 0;
                if (left > 0) {
                    do {
                        d = left * random.Next() / EffectRandom::kMax;
                    } while (d >= left);
                }
                // d = 0 stops at the top-left pixel, taken or not; else the d-th free one.
                const std::optional<int64_t> pixel =
                    d <= 0 ? std::optional<int64_t>(0) : free->Find(d - 1);
                if (!pixel) return std::nullopt;  // counted past the last row
                int32_t& first = changed[static_cast<std::size_t>(*pixel)];
                if (first == kNever) {
                    free->Take(*pixel);
                    first = frame;
                }
                continue;
            }
            // Draws that land beyond the picture, or on a pixel already changed, start over.
            for (;;) {
                const int64_t x = int64_t{width} * random.Next() / EffectRandom::kMax;
                if (x >= width) continue;
                int64_t y = 0;
                do {
                    y = int64_t{height} * random.Next() / EffectRandom::kMax;
                } while (y >= height);
                int32_t& first = changed[static_cast<std::size_t>(y * width + x)];
                if (first != kNever) continue;
                first = frame;
                break;
            }
        }
    }
    return changed;
}

}  // namespace

FrameChain ComputeRandomShine(const Gif* first, const Gif* second, const EffectParams& params,
                              EffectProgress& progress) {
    if (!first) return nullptr;
    const int32_t width = BitmapExtent(first->width), height = BitmapExtent(first->height);
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    if (width < 1 || height < 1 || computed < 1 || !FramesFit(*first, computed)) return nullptr;
    // A draw lands on every column and row only while they are no more than the generator's
    // values; beyond, pixels no draw reaches would be waited for without end.
    if (width > EffectRandom::kMax || height > EffectRandom::kMax) return nullptr;
    EffectRandom random = EffectRandom::Seeded(params.seed);
    const std::optional<std::vector<int32_t>> order = ShineOrder(width, height, computed, random);
    if (!order) return nullptr;
    const std::vector<int32_t>& changed = *order;
    auto rowOf = [&](int32_t y) { return changed.data() + static_cast<std::size_t>(y) * width; };

    if (!second) {
        const uint8_t color = IndexByte(params.colorIndex);
        return ComputeIndexedFrames(
            *first, params, progress,
            [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
                const int32_t* from = rowOf(y);
                for (int32_t x = 0; x < width; ++x)
                    target[x] = from[x] <= frame ? color : source[x];
            });
    }
    const SourcePicture one = ReadSource(*first), two = ReadSource(*second);
    if (!one.Valid() || !two.Valid() || one.width != width || one.height != height ||
        two.width != width || two.height != height)
        return nullptr;
    return ComputeFrames(first, second, params, progress, [&](int32_t frame, TrueColorBitmap& out) {
        for (int32_t y = 0; y < height; ++y) {
            const int32_t* from = rowOf(y);
            const uint32_t* p1 = one.Row(y);
            const uint32_t* p2 = two.Row(y);
            uint32_t* target = out.Row(y);
            for (int32_t x = 0; x < width; ++x) target[x] = from[x] <= frame ? p2[x] : p1[x];
        }
    });
}

}  // namespace anitrope
