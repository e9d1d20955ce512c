#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_random.h"
#include "effects/indexed_frames.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kOutOfRange = "Parameter out of Range";

// A piece that no computed frame covers.
constexpr int32_t kNever = std::numeric_limits<int32_t>::max();

// The most rectangles a grid may have: each costs a counter while the run lasts (64 MiB at
// this limit), so a mistyped count is refused rather than allowed to take memory unbounded.
constexpr int64_t kMaxRects = int64_t{1} << 24;

// For every row, the first computed frame (0-based) that has covered it. The rows close slat
// by slat: 0, b, 2b, ... below the height, then 1, 1 + b, ..., then 2, 2 + b, and so on; each
// frame covers `perFrame` more of them.
std::vector<int32_t> BlindCoverFrames(int32_t height, int32_t blind, int32_t frames,
                                      int64_t perFrame) {
    std::vector<int32_t> cover(static_cast<std::size_t>(std::max(height, 0)), kNever);
    // Below 1 the cursor would stay on one row, or walk upward out of the picture.
    const int64_t step = std::max(blind, 1);
    int64_t cursor = 0, phase = 0;
    for (int32_t frame = 0; frame < frames; ++frame) {
        for (int64_t i = 0; i < perFrame; ++i) {
            const int64_t row = cursor < height ? cursor : ++phase;
            // Once every phase has had its turn the order runs on past the last row (a blind
            // as high as the picture, PingPong's extra rows): there is nothing left to cover.
            if (row < height) {
                int32_t& first = cover[static_cast<std::size_t>(row)];
                first = std::min(first, frame);
            }
            cursor = row + step;
        }
        // A frame that ends past the last row starts the next phase at once.
        if (cursor > height) cursor = ++phase;
    }
    return cover;
}

// Image 1 covered row by row with the colour, on its palette indices.
FrameChain BlindIndices(const Gif& first, const EffectParams& params, EffectProgress& progress) {
    const int32_t width = BitmapExtent(first.width), height = BitmapExtent(first.height);
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    if (computed <= 0) return nullptr;
    const int64_t perFrame = params.pingPong ? (int64_t{height} + 5) / computed
                                             : height / std::max(params.frameCount, 1);
    const std::vector<int32_t> cover = BlindCoverFrames(height, params.value1, computed, perFrame);
    const uint8_t color = IndexByte(params.colorIndex);
    return ComputeIndexedFrames(
        first, params, progress,
        [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
            if (cover[static_cast<std::size_t>(y)] <= frame)
                std::fill(target, target + width, color);
            else
                std::copy(source, source + width, target);
        });
}

// Sources of the two transitions: image 1 and image 2 over the same rectangle.
bool ReadBoth(const Gif& first, const Gif& second, SourcePicture& one, SourcePicture& two) {
    one = ReadSource(first);
    two = ReadSource(second);
    return one.Valid() && two.Valid() && one.width == two.width && one.height == two.height;
}

// Image 1 covered row by row with image 2's rows.
FrameChain BlindRows(const Gif& first, const Gif& second, const EffectParams& params,
                     EffectProgress& progress) {
    SourcePicture one, two;
    if (!ReadBoth(first, second, one, two)) return nullptr;
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    if (computed <= 0) return nullptr;
    const int64_t rows = int64_t{one.height} + 5;
    const int64_t perFrame = params.pingPong ? rows / computed : rows / (int64_t{params.frameCount} + 1);
    const std::vector<int32_t> cover = BlindCoverFrames(one.height, params.value1, computed, perFrame);
    return ComputeFrames(&first, &second, params, progress,
                         [&](int32_t frame, TrueColorBitmap& out) {
                             for (int32_t y = 0; y < one.height; ++y) {
                                 const uint32_t* source =
                                     cover[static_cast<std::size_t>(y)] <= frame ? two.Row(y)
                                                                                : one.Row(y);
                                 std::copy(source, source + one.width, out.Row(y));
                             }
                         });
}

// The rectangles not yet shown, in the order the grid is walked (row by row, each row column
// by column). Finding the k-th of them by counting along the grid costs a walk per
// rectangle; a binary indexed tree of the free counts finds the same one in log steps.
class FreeRects {
public:
    explicit FreeRects(int32_t count) : tree_(static_cast<std::size_t>(count) + 1, 0) {
        for (int32_t i = 1; i <= count; ++i) {
            tree_[static_cast<std::size_t>(i)] += 1;
            const int32_t parent = i + (i & -i);
            if (parent <= count) tree_[static_cast<std::size_t>(parent)] += tree_[static_cast<std::size_t>(i)];
        }
        while (top_ * 2 <= count) top_ *= 2;
    }

    // The rectangle with `k` free ones before it, now shown.
    int32_t Take(int32_t k) {
        int32_t position = 0;
        const auto size = static_cast<int32_t>(tree_.size()) - 1;
        for (int32_t step = top_; step > 0; step /= 2) {
            const int32_t next = position + step;
            if (next <= size && tree_[static_cast<std::size_t>(next)] <= k) {
                position = next;
                k -= tree_[static_cast<std::size_t>(next)];
            }
        }
        for (int32_t i = position + 1; i <= size; i += i & -i) --tree_[static_cast<std::size_t>(i)];
        return position;
    }

private:
    std::vector<int32_t> tree_;
    int32_t top_ = 1;
};

// A rectangle side: the picture's side over the count, to the nearest pixel, halves up.
int64_t RectSide(int32_t picture, int32_t count) {
    return (2 * int64_t{picture} + count) / (2 * int64_t{count});
}

// Which grid cell each pixel column (or row) lies in; -1 beyond the grid, where rounding made
// it smaller than the picture.
std::vector<int32_t> CellsAlong(int32_t extent, int64_t side, int32_t count) {
    std::vector<int32_t> cells(static_cast<std::size_t>(extent), -1);
    if (side <= 0) return cells;  // rectangles too small to hold a pixel
    for (int32_t p = 0; p < extent && p / side < count; ++p)
        cells[static_cast<std::size_t>(p)] = static_cast<int32_t>(p / side);
    return cells;
}

}  // namespace

int SetupBlind(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    const int32_t blind = slots.Value(1), height = slots.ImageHeight();
    if (blind >= 2 && blind <= height) return 1;
    slots.Refuse("Valid values for Blind height : 2-" + std::to_string(height) + "(picture height)",
                 kOutOfRange, 1);
    return 0;
}

int SetupRandomRects(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    const int64_t rects = int64_t{slots.Value(1)} * slots.Value(2);
    const int32_t frames = slots.FrameCount();
    if (rects >= frames) return 1;
    slots.Refuse("Number of Frames (=" + std::to_string(frames) +
                     ") must be smaller than Number of Rects (=columns*rows=" +
                     std::to_string(rects) + ")",
                 kOutOfRange, kFrameCountField);
    return 0;
}

FrameChain ComputeBlind(const Gif* first, const Gif* second, const EffectParams& params,
                        EffectProgress& progress) {
    if (!first) return nullptr;
    return second ? BlindRows(*first, *second, params, progress)
                  : BlindIndices(*first, params, progress);
}

FrameChain ComputeRandomRects(const Gif* first, const Gif* second, const EffectParams& params,
                              EffectProgress& progress) {
    if (!first || !second) return nullptr;
    SourcePicture one, two;
    if (!ReadBoth(*first, *second, one, two)) return nullptr;
    const int32_t columns = params.value1, rows = params.value2;
    // No grid to divide the picture by, or one too large to keep.
    if (columns < 1 || rows < 1 || int64_t{columns} * rows > kMaxRects) return nullptr;
    const int32_t rects = columns * rows;
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    if (computed <= 0) return nullptr;
    const int32_t perFrame = rects / computed;

    // Every rectangle's first frame, drawn up front so that frames can be painted in any order.
    std::vector<int32_t> shownFrom(static_cast<std::size_t>(rects), kNever);
    FreeRects free(rects);
    EffectRandom random = EffectRandom::Seeded(params.seed);
    int32_t freeCount = rects;
    for (int32_t frame = 0; frame < computed; ++frame) {
        for (int32_t i = 0; i < perFrame; ++i) {
            // The generator's value scaled from its range 0 ... 32767 onto 0 ... F: value * F /
            // 32767 in integers. Only 32767 itself lands on F, one past the free rectangles, and
            // is drawn again.
            int64_t position = 0;
            do {
                position = int64_t{random.Next()} * freeCount / EffectRandom::kMax;
            } while (position >= freeCount);
            shownFrom[static_cast<std::size_t>(free.Take(static_cast<int32_t>(position)))] = frame;
            --freeCount;
        }
    }

    const std::vector<int32_t> cellX = CellsAlong(one.width, RectSide(one.width, columns), columns);
    const std::vector<int32_t> cellY = CellsAlong(one.height, RectSide(one.height, rows), rows);
    return ComputeFrames(first, second, params, progress, [&](int32_t frame, TrueColorBitmap& out) {
        for (int32_t y = 0; y < one.height; ++y) {
            const uint32_t* p1 = one.Row(y);
            const uint32_t* p2 = two.Row(y);
            uint32_t* target = out.Row(y);
            const int32_t j = cellY[static_cast<std::size_t>(y)];
            for (int32_t x = 0; x < one.width; ++x) {
                const int32_t i = cellX[static_cast<std::size_t>(x)];
                const bool shown =
                    j >= 0 && i >= 0 &&
                    shownFrom[static_cast<std::size_t>(j) * static_cast<std::size_t>(columns) +
                              static_cast<std::size_t>(i)] <= frame;
                target[x] = shown ? p2[x] : p1[x];
            }
        }
    });
}

}  // namespace anitrope
