#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/indexed_frames.h"
#include "effects/source_rows.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kPageDescription = "Turns the image away as if turning a page.";

// What each "Predefined" item puts into the fields, and the line it adds to the description.
struct PageMotion {
    const char* startAngle;
    const char* increment;
    const char* thickness;
    const char* line;
};
constexpr PageMotion kMotions[] = {
    {"70", "-50", "20",
     "The Image will be 'picked' on the top left corner and rolled to the bottom right corner"},
    {"160", "-50", "20",
     "The Image will be 'picked' on the bottom left corner and rolled to the top right corner"},
    {"240", "-120", "20",
     "The Image will be 'picked' on the bottom right corner and rolled to the top right corner"},
};

// Degrees to radians and half a turn, with the constants the sequences have always been made
// with.
constexpr double kRadiansPerDegree = 0.017453292522222223;
constexpr double kPi = 3.141592654;

// A point of the page, its y axis turned upward: row y of an H-row picture lies at H - 1 - y.
struct Point {
    double x = 0;
    double y = 0;
};

// Where the fold starts (the page is picked a little inside a corner) or ends (a little beyond
// the opposite one), for a fold angle in whole degrees.
Point PickPoint(int64_t angle, int32_t w, int32_t h, int32_t thickness, bool end) {
    if (end) angle += 180;
    if (angle < 0) angle += 36000;
    const int64_t e = angle % 360;
    const double beta = static_cast<double>(e + 90) * kRadiansPerDegree;
    const double r = thickness;
    Point p = end ? Point{1.01 * r * std::cos(beta), 1.01 * r * std::sin(beta)}
                  : Point{-r / 2 * std::cos(beta), -r / 2 * std::sin(beta)};
    // The corner the angle picks: top-left, bottom-left, bottom-right, top-right. An angle still
    // negative (one below -36000) picks none.
    if (e >= 0 && e < 90) {
        p.y += h - 1;
    } else if (e >= 180 && e < 270) {
        p.x += w - 1;
    } else if (e >= 270) {
        p.x += w - 1;
        p.y += h - 1;
    }
    return p;
}

// The fold line of one frame: through `at`, at `angle` degrees (0 ... 360).
struct Fold {
    Point at;
    double angle = 0;
    double slope = 0;  // tan of the angle, used unless the line runs along an axis

    bool Horizontal() const { return angle == 0 || angle == 180; }
    bool Vertical() const { return angle == 90 || angle == 270; }

    // Whether the pixel lies on the part of the page still flat.
    bool OnPage(double x, double y) const {
        if (angle == 0) return y <= at.y;
        if (angle == 90) return at.x <= x;
        if (angle == 180) return at.y <= y;
        if (angle == 270) return x <= at.x;
        const double xl = (y - at.y) / slope + at.x;
        if (angle > 0 && angle < 180) return xl <= x;
        return angle > 180 && angle < 360 && x <= xl;
    }

    // The foot of the perpendicular from the pixel onto the line.
    Point Foot(double x, double y) const {
        if (Horizontal()) return {x, at.y};
        if (Vertical()) return {at.x, y};
        const double m = slope;
        Point f;
        f.x = (at.x * m + x / m - at.y + y) / (m + 1 / m);
        f.y = (f.x - at.x) * m + at.y;
        return f;
    }
};

// The page's motion over the run: the pick points and the angles the fold takes.
struct PageRun {
    int32_t startAngle = 0;
    int32_t increment = 0;
    double thickness = 0;
    Point from;
    Point to;
    double steps = 1;  // D: a transition stops one step before the end, the effect reaches it

    PageRun(const EffectParams& params, int32_t w, int32_t h, bool transition)
        : startAngle(params.value1), increment(params.value2), thickness(params.value3) {
        from = PickPoint(params.value1, w, h, params.value3, false);
        to = PickPoint(int64_t{params.value1} + params.value2, w, h, params.value3, true);
        steps = static_cast<double>(ComputedCount(params.frameCount, params.pingPong != 0)) +
                (transition ? 1 : 0);
    }

    // Frame k (0-based): the angle to the nearest quarter degree, halves up, and the point
    // moved that far from start to end.
    Fold FoldOf(int32_t k) const {
        const double done = static_cast<double>(k) + 1;
        const double alpha =
            std::floor(4 * (static_cast<double>(increment) * done / steps + startAngle) + 0.5) / 4;
        Fold fold;
        fold.angle = std::fmod(alpha < 0 ? alpha + 360000000.0 : alpha, 360.0);
        fold.slope = std::tan(fold.angle * kRadiansPerDegree);
        fold.at = {from.x + (to.x - from.x) * done / steps,
                   from.y + (to.y - from.y) * done / steps};
        return fold;
    }
};

// Image 1 as the page reads it: its rows (indices or true colour) and its see-through pixels.
template <class Pixel>
struct PageSource : SourceRows<Pixel> {
    // The pixel at a point of the page, to the nearest pixel (halves up), put on the target
    // unless it lies off the page or lets through.
    void Read(double sx, double sy, Pixel& target) const {
        const double rx = std::floor(sx + 0.5), ry = std::floor(sy + 0.5);
        if (!(rx >= 0 && rx <= this->width - 1 && ry >= 0 && ry <= this->height - 1)) return;
        const Pixel p =
            this->At(static_cast<int32_t>(rx), this->height - 1 - static_cast<int32_t>(ry));
        if (!this->Clear(p)) target = p;
    }
};

// Row y of a frame over its background: the flat page with the part beyond the fold laid
// face down on it, and the cylinder the page winds round beside the fold.
template <class Pixel>
void PaintPageRow(const PageSource<Pixel>& page, const Fold& fold, double r, int32_t y,
                  Pixel* target) {
    const double yp = page.height - 1 - y;
    for (int32_t x = 0; x < page.width; ++x) {
        const Point f = fold.Foot(x, yp);
        const double dx = x - f.x, dy = yp - f.y;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (fold.OnPage(x, yp)) {
            if (const Pixel own = page.rows[static_cast<std::size_t>(y)][x]; !page.Clear(own))
                target[x] = own;
            const double s = d == 0 ? 0 : (kPi * r + d) / d;
            page.Read(f.x - s * dx, f.y - s * dy, target[x]);
        } else if (d < r) {
            const double psi = std::asin(d / r);
            const double front = d == 0 ? 0 : psi * r / d, back = d == 0 ? 0 : (kPi - psi) * r / d;
            page.Read(f.x + front * dx, f.y + front * dy, target[x]);
            page.Read(f.x + back * dx, f.y + back * dy, target[x]);
        }
    }
}

// The effect: image 1's indices turned away from the document's background colour.
FrameChain PageIndices(const Gif& first, const EffectParams& params, EffectProgress& progress) {
    const std::optional<SourceRows<uint8_t>> rows = IndexedRows(first);
    if (!rows) return nullptr;
    const PageSource<uint8_t> page{*rows};
    const int32_t w = page.width, h = page.height;
    const PageRun run(params, w, h, false);
    const uint8_t background = first.animation->backgroundIndex;
    return ComputeIndexedFrames(first, params, progress,
                                [&](int32_t frame, int32_t y, const uint8_t*, uint8_t* target) {
                                    std::fill(target, target + w, background);
                                    PaintPageRow(page, run.FoldOf(frame), run.thickness, y, target);
                                });
}

// The transition: image 1 turned away from image 2.
FrameChain PageColours(const Gif& first, const Gif& second, const EffectParams& params,
                       EffectProgress& progress) {
    const SourcePicture one = ReadSource(first), two = ReadSource(second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    const PageSource<uint32_t> page{TrueColorRows(one)};
    const PageRun run(params, one.width, one.height, true);
    return ComputeFrames(&first, &second, params, progress,
                         [&](int32_t frame, TrueColorBitmap& out) {
                             const Fold fold = run.FoldOf(frame);
                             for (int32_t y = 0; y < one.height; ++y) {
                                 const uint32_t* below = two.Row(y);
                                 std::copy(below, below + one.width, out.Row(y));
                                 PaintPageRow(page, fold, run.thickness, y, out.Row(y));
                             }
                         });
}

}  // namespace

int SetupPage(EffectSlots& slots, SetupMode mode) {
    if (mode == SetupMode::Validate) {
        if (slots.Value(3) >= 0) return 1;
        slots.Refuse("The 'Rolling Thickness' must be greater or equal to 0.",
                     "Parameter out of Range", 3);
        return 0;
    }
    if (mode != SetupMode::Init && mode != SetupMode::ComboChanged) return 1;
    // Init fills the fields from the item it selects, as choosing it would.
    const int item = slots.ListSelection(1);
    if (item < 0 || item >= static_cast<int>(std::size(kMotions))) return 1;
    const PageMotion& motion = kMotions[item];
    slots.Describe(std::string(kPageDescription) + "\n" + motion.line);
    slots.EnableValue(1, std::nullopt, motion.startAngle);
    slots.EnableValue(2, std::nullopt, motion.increment);
    slots.EnableValue(3, std::nullopt, motion.thickness);
    return 1;
}

FrameChain ComputePage(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress) {
    if (!first) return nullptr;
    return second ? PageColours(*first, *second, params, progress)
                  : PageIndices(*first, params, progress);
}

}  // namespace anitrope
