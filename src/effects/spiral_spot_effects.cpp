#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/indexed_frames.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// A cell that no computed frame covers.
constexpr int32_t kNever = std::numeric_limits<int32_t>::max();

// The spot's radius is a percentage of the smaller side; at half of it the spot no longer
// fits the picture.
constexpr int32_t kSpotRadiusLimit = 50;

// Halves up, as the grid has always been rounded.
int64_t Round(double v) { return static_cast<int64_t>(v + 0.5); }

// The spiral's cells: cw x ch pixels, nx across and ny down.
struct SpiralGrid {
    int64_t cw = 1;
    int64_t ch = 1;
    int64_t nx = 1;
    int64_t ny = 1;
};

// About sqrt(frames) cells across, shaped like the picture. A cell rounding to no pixels (a
// narrow picture, many frames) is taken one pixel wide, so the counts below stay defined.
SpiralGrid GridFor(int32_t width, int32_t height, int32_t frames) {
    SpiralGrid g;
    g.cw = std::max<int64_t>(Round(width / std::sqrt(static_cast<double>(frames))), 1);
    g.ch = std::max<int64_t>(Round(static_cast<double>(height) / width * static_cast<double>(g.cw)),
                             1);
    g.nx = Round(static_cast<double>(width) / static_cast<double>(g.cw));
    g.ny = Round(static_cast<double>(height) / static_cast<double>(g.ch));
    return g;
}

// The grid the frames are made on: one cell a frame, the cells grown to take up what rounding
// left over.
SpiralGrid ComputeGrid(int32_t width, int32_t height, int32_t frameCount, int64_t computed) {
    SpiralGrid g = GridFor(width, height, frameCount);
    if (g.nx * g.ny > computed) {
        // One cell across or down cannot drop to none.
        g.nx = std::max<int64_t>(g.nx - 1, 1);
        g.ny = std::max<int64_t>(g.ny - 1, 1);
        g.cw = std::max<int64_t>(Round(static_cast<double>(width) / static_cast<double>(g.nx)), 1);
        g.ch = std::max<int64_t>(Round(static_cast<double>(height) / static_cast<double>(g.ny)), 1);
    }
    if (g.cw * g.nx < width) g.cw += (width - g.cw * g.nx) / g.nx;
    if (g.ch * g.ny < height) g.ch += (height - g.ch * g.ny) / g.ny;
    return g;
}

// For every cell, the computed frame (0-based) that covers it first. The walk starts at the
// centre heading right and turns clockwise whenever the cell on its turning side is still
// free; it ends once it leaves the grid. A neighbour beyond the grid counts as taken, so a walk
// along an edge goes on along it.
std::vector<int32_t> SpiralOrder(const SpiralGrid& g, int32_t computed) {
    std::vector<int32_t> order(static_cast<std::size_t>(g.nx * g.ny), kNever);
    auto inside = [&](int64_t c, int64_t r) { return c >= 0 && c < g.nx && r >= 0 && r < g.ny; };
    auto at = [&](int64_t c, int64_t r) -> int32_t& {
        return order[static_cast<std::size_t>(r * g.nx + c)];
    };
    constexpr int64_t kStep[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};  // right, down, left, up
    int64_t c = (g.nx - 1) / 2, r = (g.ny - 1) / 2;
    int heading = 0;
    for (int32_t frame = 0; frame < computed && inside(c, r); ++frame) {
        int32_t& cell = at(c, r);
        cell = std::min(cell, frame);
        if (frame > 0) {  // the first step goes right without looking
            const int turn = (heading + 1) % 4;
            const int64_t tc = c + kStep[turn][0], tr = r + kStep[turn][1];
            if (inside(tc, tr) && at(tc, tr) == kNever) heading = turn;
        }
        c += kStep[heading][0];
        r += kStep[heading][1];
    }
    return order;
}

// Which cell each column (or row) lies in; -1 beyond the last one.
std::vector<int64_t> CellsAlong(int32_t extent, int64_t side, int64_t count) {
    std::vector<int64_t> cells(static_cast<std::size_t>(extent), -1);
    for (int32_t p = 0; p < extent && p / side < count; ++p)
        cells[static_cast<std::size_t>(p)] = p / side;
    return cells;
}

// Whether pixel x of row y is covered by computed frame `frame`, for each frame.
class SpiralCover {
public:
    SpiralCover(int32_t width, int32_t height, const EffectParams& params) {
        const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
        if (width < 1 || height < 1 || computed < 1) return;
        const SpiralGrid g = ComputeGrid(width, height, params.frameCount, computed);
        nx_ = g.nx;
        order_ = SpiralOrder(g, computed);
        cellX_ = CellsAlong(width, g.cw, g.nx);
        cellY_ = CellsAlong(height, g.ch, g.ny);
        valid_ = true;
    }

    bool Valid() const { return valid_; }

    // paint(x, covered) for each pixel of row y in computed frame `frame`.
    template <class Paint>
    void Row(int32_t frame, int32_t y, Paint paint) const {
        const int64_t r = cellY_[static_cast<std::size_t>(y)];
        for (std::size_t x = 0; x < cellX_.size(); ++x) {
            const int64_t c = cellX_[x];
            paint(x, r >= 0 && c >= 0 && order_[static_cast<std::size_t>(r * nx_ + c)] <= frame);
        }
    }

private:
    bool valid_ = false;
    int64_t nx_ = 1;
    std::vector<int32_t> order_;
    std::vector<int64_t> cellX_, cellY_;
};

// The spot's path: where its centre is in each frame, and which columns of a row it lights.
class SpotPath {
public:
    SpotPath(int32_t width, int32_t height, const EffectParams& params)
        : width_(width),
          height_(height),
          frames_(params.frameCount),
          movement_(params.direction),
          radius_(int64_t{std::min(width, height)} * params.value1 / 100) {}

    // The lit columns [begin, end) of row y in frame i, within the picture; begin >= end: none.
    // The spot is drawn as rows o = r ... 0 above and below its centre, row o spanning
    // sqrt(r^2 - o^2) either side. A row nearer the centre spans at least as far as any farther
    // one, so of all the spot rows that land on y (the centre row is drawn from both sides) the
    // nearest decides; each side's rows move monotonically with o, so a search finds it.
    std::pair<int32_t, int32_t> Span(int32_t i, int32_t y) const {
        const auto [across, down] = Centre(i);
        const double r = static_cast<double>(radius_);
        auto below = [&](int64_t o) {
            return static_cast<int64_t>(static_cast<double>(o) + down + r);
        };
        auto above = [&](int64_t o) {
            return static_cast<int64_t>(down - static_cast<double>(o) + r);
        };
        int64_t nearest = -1;
        // The first o whose lower row reaches y, and the first whose upper row rises to y.
        const int64_t ob = First([&](int64_t o) { return below(o) >= y; });
        if (ob <= radius_ && below(ob) == y) nearest = ob;
        const int64_t ot = First([&](int64_t o) { return above(o) <= y; });
        if (ot <= radius_ && above(ot) == y && (nearest < 0 || ot < nearest)) nearest = ot;
        if (nearest < 0) return {0, 0};
        const double s = std::sqrt(static_cast<double>(radius_ * radius_ - nearest * nearest));
        const double centre = r + across;
        const auto begin = static_cast<int64_t>(centre - s), end = static_cast<int64_t>(centre + s);
        return {static_cast<int32_t>(std::clamp<int64_t>(begin, 0, width_)),
                static_cast<int32_t>(std::clamp<int64_t>(end, 0, width_))};
    }

private:
    // (W - 2r) px and (H - 2r) py of frame i: the path runs once round, from t = 0 to one step
    // short of a full turn, over [0, 1] x [0, 1].
    std::pair<double, double> Centre(int32_t i) const {
        const double t = static_cast<double>(i) / frames_ * 6.28318;
        double x = 0, y = 0;
        // clang-format off
        switch (movement_) {
            case 0: x = std::sin(t), y = std::cos(t); break;
            case 1: x = std::sin(2 * t), y = std::cos(t); break;
            case 2: x = std::sin(t), y = std::cos(3 * t); break;
            case 3: x = std::sin(2 * t), y = std::cos(3 * t); break;
            case 4: x = std::sin(4 * t), y = std::cos(3 * t); break;
            // These two follow each other's list text; spots made with them stay as they were.
            case 5: x = std::sin(t) * std::cos(2 * t), y = std::cos(3 * t); break;
            case 6: x = std::sin(2 * t) * std::cos(t), y = std::cos(3 * t); break;
            default: break;  // no movement: the centre of the path's rectangle
        }
        // clang-format on
        const double px = (x + 1) / 2, py = (y + 1) / 2;
        return {static_cast<double>(width_ - 2 * radius_) * px,
                static_cast<double>(height_ - 2 * radius_) * py};
    }

    // The least o in [0, r] for which `reached` holds, given that it holds for all larger o
    // once it holds; r + 1 for none.
    template <class Pred>
    int64_t First(Pred reached) const {
        int64_t low = 0, high = radius_ + 1;
        while (low < high) {
            const int64_t mid = low + (high - low) / 2;
            if (reached(mid))
                high = mid;
            else
                low = mid + 1;
        }
        return low;
    }

    int32_t width_;
    int32_t height_;
    int32_t frames_;
    int32_t movement_;
    int64_t radius_;
};

}  // namespace

int SetupSpiral(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    const int32_t frames = slots.FrameCount(), width = slots.ImageWidth(),
                  height = slots.ImageHeight();
    // The dialog refuses counts below one itself.
    if (frames < 1 || width < 1 || height < 1) return 1;
    SpiralGrid g = GridFor(width, height, frames);
    if (g.nx * g.ny == frames) return 1;
    if (g.nx * g.ny > frames) {
        --g.nx;
        --g.ny;
    }
    const int64_t cells = int64_t{g.nx} * g.ny;
    const SlotAnswer answer = slots.Ask(
        "For a " + std::to_string(g.nx) + " x " + std::to_string(g.ny) + " spiral grid only " +
            std::to_string(cells) + " frames are necessary.\nUse " + std::to_string(cells) +
            " frames instead of " + std::to_string(frames) + " ?",
        "Spiral grid doesn't correspond to Nr. of Frames");
    if (answer == SlotAnswer::Cancel) return 0;
    if (answer == SlotAnswer::Yes) slots.SetFrameCount(static_cast<int32_t>(cells));
    return 1;
}

int SetupSpot(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate || slots.Value(1) < kSpotRadiusLimit) return 1;
    slots.Refuse("Radius must be smaller than 50 %", "Parameter out of Range", 1);
    return 0;
}

FrameChain ComputeSpiral(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress) {
    if (!first) return nullptr;
    const SpiralCover cover(BitmapExtent(first->width), BitmapExtent(first->height), params);
    if (!cover.Valid()) return nullptr;
    if (!second) {
        const uint8_t color = IndexByte(params.colorIndex);
        return ComputeIndexedFrames(
            *first, params, progress,
            [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
                cover.Row(frame, y, [&](std::size_t x, bool covered) {
                    target[x] = covered ? color : source[x];
                });
            });
    }
    const SourcePicture one = ReadSource(*first), two = ReadSource(*second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    return ComputeFrames(first, second, params, progress, [&](int32_t frame, TrueColorBitmap& out) {
        for (int32_t y = 0; y < one.height; ++y) {
            const uint32_t* p1 = one.Row(y);
            const uint32_t* p2 = two.Row(y);
            uint32_t* target = out.Row(y);
            cover.Row(frame, y,
                      [&](std::size_t x, bool covered) { target[x] = covered ? p2[x] : p1[x]; });
        }
    });
}

FrameChain ComputeSpot(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress) {
    // A radius the dialog refuses would take the spot off the picture, and with it its rows
    // beyond any bound.
    if (!first || params.value1 >= kSpotRadiusLimit) return nullptr;
    // The spot goes round once; it has no way back.
    EffectParams once = params;
    once.pingPong = 0;
    const SpotPath path(BitmapExtent(first->width), BitmapExtent(first->height), once);
    if (!second) {
        const uint8_t color = IndexByte(params.colorIndex);
        return ComputeIndexedFrames(
            *first, once, progress,
            [&](int32_t frame, int32_t y, const uint8_t* source, uint8_t* target) {
                const auto [begin, end] = path.Span(frame, y);
                const int32_t width = BitmapExtent(first->width);
                std::fill(target, target + width, color);
                if (begin < end) std::copy(source + begin, source + end, target + begin);
            });
    }
    const SourcePicture one = ReadSource(*first), two = ReadSource(*second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    return ComputeFrames(first, second, once, progress, [&](int32_t frame, TrueColorBitmap& out) {
        for (int32_t y = 0; y < one.height; ++y) {
            uint32_t* target = out.Row(y);
            std::copy(one.Row(y), one.Row(y) + one.width, target);
            const auto [begin, end] = path.Span(frame, y);
            if (begin < end) std::copy(two.Row(y) + begin, two.Row(y) + end, target + begin);
        }
    });
}

}  // namespace anitrope
