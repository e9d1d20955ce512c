#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/indexed_frames.h"
#include "effects/source_rows.h"
#include "effects/sphere_projection.h"
#include "model/frame_alloc.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kOutOfRange = "Parameter out of Range";

constexpr double kQuarterPi = 0.7853981635;
constexpr double kThreeQuarterPi = 2.3561944905;

std::optional<SourceRows<uint32_t>> TrueColorRows(const Gif& gif) {
    const SourcePicture picture = ReadSource(gif);
    if (!picture.Valid()) return std::nullopt;
    return TrueColorRows(picture);
}

// Image 1 and image 2 as true colour over the same rectangle.
std::optional<std::array<SourceRows<uint32_t>, 2>> TrueColorPair(const Gif& first, const Gif& second) {
    auto one = TrueColorRows(first), two = TrueColorRows(second);
    if (!one || !two || one->width != two->width || one->height != two->height)
        return std::nullopt;
    return std::array{std::move(*one), std::move(*two)};
}

// Paints row y of computed frame `index` over a target already filled with the base; rows
// of one frame may be painted on several threads at once.
template <class Pixel>
using PaintRow = std::function<void(int32_t index, int32_t y, Pixel* target)>;

// The effect: frames of image 1's indices filled with the colour, then painted.
FrameChain RunIndexed(const Gif& first, const EffectParams& params, EffectProgress& progress,
                      const PaintRow<uint8_t>& paint) {
    const uint8_t color = IndexByte(params.colorIndex);
    const int32_t width = BitmapExtent(first.width);
    return ComputeIndexedFrames(first, params, progress,
                                [&](int32_t index, int32_t y, const uint8_t*, uint8_t* target) {
                                    std::fill_n(target, width, color);
                                    paint(index, y, target);
                                });
}

// The transitions: true-colour frames, each on its own; `base` fills row y first.
FrameChain RunTrueColor(const Gif& first, const Gif& second, const EffectParams& params,
                        EffectProgress& progress,
                        const std::function<void(int32_t y, uint32_t* target)>& base,
                        const PaintRow<uint32_t>& paint) {
    return ComputeFrames(&first, &second, params, progress,
                         [&](int32_t index, TrueColorBitmap& out) {
                             for (int32_t y = 0; y < out.Height(); ++y) {
                                 base(y, out.Row(y));
                                 paint(index, y, out.Row(y));
                             }
                         });
}

// Roll Sphere: the images share the circumference, image 1 from longitude `turn` on (all of
// it for the effect), image 2 the half after image 1's. Longitudes here run from 0 at the
// sphere's left edge to pi at its right edge.
template <class Pixel>
void DrawSphereRow(const std::array<const SourceRows<Pixel>*, 2>& images, int count, int64_t radius,
                   double turn, int32_t y, Pixel* target) {
    const SourceRows<Pixel>& one = *images[0];
    const int32_t w = one.width, h = one.height;
    const SphereRow row(h / 2 - y, radius);
    if (!row.Crosses()) return;
    const double latitude = row.Latitude();
    if (!(latitude >= 0 && latitude <= kSpherePi)) return;
    const int32_t sy = SphereSourceRow(h, latitude);
    const double span = count == 1 ? kSphereTwoPi : kSpherePi;
    for (int32_t x = 0; x < w; ++x) {
        const std::optional<double> psi = row.Longitude(x - w / 2);
        if (!psi) continue;
        const double longitude = *psi + kSphereHalfPi;
        if (!(longitude >= 0 && longitude <= kSpherePi)) continue;
        for (int n = 0; n < count; ++n) {
            const double base = n == 0 ? turn : turn + kSpherePi;
            const double theta = TurnInto(longitude, base);
            double end = base + span;
            while (end <= base) end += kSphereTwoPi;
            while (end > base + kSphereTwoPi) end -= kSphereTwoPi;
            if (!(theta >= base && theta <= end)) continue;
            const double column = (theta - base) * w / span;
            const int32_t sx = column < w - 1 ? std::max(static_cast<int32_t>(column), 0) : w - 1;
            const Pixel p = images[static_cast<std::size_t>(n)]->At(sx, sy);
            if (!images[static_cast<std::size_t>(n)]->Clear(p)) target[x] = p;
            break;
        }
    }
}

// The sphere's radius in pixels: `percent` of half the smaller side.
int64_t SphereRadius(int32_t percent, int32_t width, int32_t height) {
    return percent < 0 ? 0 : int64_t{percent} * std::min(width, height) / 200;
}

// Tilt In: the door's angle in frame i of h, and where a frame pixel finds its source.
class Door {
public:
    // Sides 0-3 are left, right, top, bottom; none chosen (or one the list lacks) is left.
    Door(int32_t width, int32_t height, int32_t side, int32_t halfwaves, int32_t i, int32_t h,
         bool transition)
        : width_(width), height_(height), side_(side >= 0 && side <= 3 ? side : 0) {
        const bool alongWidth = side_ >= 2;
        along_ = alongWidth ? width : height;
        across_ = alongWidth ? height : width;
        sum_ = static_cast<double>(width) + height;
        centreAlong_ = along_ / 2.0 + (along_ % 2 == 0 ? 0.5 : 0.0);
        centreAcross_ = across_ / 2.0 - (across_ % 2 == 0 ? 0.5 : 0.0);
        const double rest = std::atan((alongWidth ? height : width) / (2 * sum_));
        const double f = transition ? (i + 1.0) / (h + 1.0) : static_cast<double>(i) / h;
        const double g = transition ? (static_cast<double>(h) - i) / (h + 1.0)
                                    : (static_cast<double>(h) - i) / h;
        // The effect's first frame is the colour alone.
        shown_ = transition || i > 0;
        const double k = std::max(halfwaves, 0);
        const double omega = f == 0 ? 0 : (k * kSpherePi + kSphereHalfPi) * std::pow(f, 1.6);
        const double damping = g == 0 ? 0 : std::pow(g, 1.7 - f);
        angle_ = (rest + kSphereHalfPi) * std::cos(omega) * damping - kSphereHalfPi;
        steep_ = angle_ >= -kQuarterPi || angle_ <= -kThreeQuarterPi;
        tangent_ = std::tan(steep_ ? angle_ : angle_ + kSphereHalfPi);
        cosine_ = std::cos(steep_ ? angle_ : angle_ + kSphereHalfPi);
    }

    bool Shown() const { return shown_; }
    double Angle() const { return angle_; }

    // The source pixel (column, row) for frame pixel (x, y); none where the base shows.
    std::optional<std::array<int32_t, 2>> Source(int32_t x, int32_t y) const {
        const int32_t w = width_, h = height_;
        int64_t a = 0, b = 0;
        switch (side_) {
            case 0: a = (h - y - 1) - h / 2, b = (w - x - 1) - w / 2; break;
            case 1: a = y - h / 2, b = x - w / 2; break;
            case 2: a = x - w / 2, b = (h - y - 1) - h / 2; break;
            default: a = (w - x - 1) - w / 2, b = y - h / 2; break;
        }
        const double da = static_cast<double>(a), db = static_cast<double>(b);
        const double s = sum_, cA = centreAlong_, cB = centreAcross_;
        double m1 = 0, m2 = 0;
        if (steep_) {
            const double q = db / s - tangent_;
            if (std::abs(q) <= 1e-8) return std::nullopt;
            m1 = -(db - cB) / (q * cosine_);
            m2 = da * (1 - (db - cB) / (q * s)) + cA;
        } else {
            const double e = db * tangent_ / s, d = 1 + e;
            // Only where the door's plane runs through the eye; nothing there to show.
            if (d == 0) return std::nullopt;
            m1 = (cB - (cB * e + db) / d) / cosine_;
            m2 = da * (s - (db - cB) * tangent_ / d) / s + cA;
        }
        // Toward zero, so (-1, 0) lands on the first row or column; compared as reals, since
        // far outside (or not a number) does not fit an integer.
        m1 = std::trunc(m1);
        m2 = std::trunc(m2);
        if (!(m2 >= 0 && m2 < along_ && m1 >= 0 && m1 < across_)) return std::nullopt;
        const auto across = static_cast<int32_t>(m1), along = static_cast<int32_t>(m2);
        switch (side_) {
            case 0: return std::array{across, h - 1 - along};
            case 1: return std::array{w - 1 - across, along};
            case 2: return std::array{along, across};
            default: return std::array{w - 1 - along, h - 1 - across};
        }
    }

private:
    int32_t width_;
    int32_t height_;
    int32_t side_;
    int32_t along_ = 0;
    int32_t across_ = 0;
    double sum_ = 0;
    double centreAlong_ = 0;
    double centreAcross_ = 0;
    bool shown_ = true;
    double angle_ = 0;
    bool steep_ = true;
    double tangent_ = 0;
    double cosine_ = 1;
};

template <class Pixel>
void DrawDoorRow(const SourceRows<Pixel>& swinging, const Door& door, int32_t y, Pixel* target) {
    if (!door.Shown()) return;
    for (int32_t x = 0; x < swinging.width; ++x) {
        const auto source = door.Source(x, y);
        if (!source) continue;
        const Pixel p = swinging.At((*source)[0], (*source)[1]);
        if (!swinging.Clear(p)) target[x] = p;
    }
}

int RefuseNegative(EffectSlots& slots, SetupMode mode, const char* message) {
    if (mode != SetupMode::Validate || slots.Value(1) >= 0) return 1;
    slots.Refuse(message, kOutOfRange, 1);
    return 0;
}

}  // namespace

int SetupRollSphere(EffectSlots& slots, SetupMode mode) {
    return RefuseNegative(slots, mode, "The 'Radius' in percent must be greater or equal to 0.");
}

int SetupTiltIn(EffectSlots& slots, SetupMode mode) {
    return RefuseNegative(slots, mode, "The 'Nr. Halfwaves' must be greater or equal to 0.");
}

FrameChain ComputeRollSphere(const Gif* first, const Gif* second, const EffectParams& params,
                             EffectProgress& progress) {
    if (!first) return nullptr;
    const int32_t h = ComputedCount(params.frameCount, params.pingPong != 0);
    if (h <= 0) return nullptr;
    // One turn over the computed frames, leftward when asked.
    auto turnOf = [&](int32_t i) {
        const double turn = static_cast<double>(i) / h * kSphereTwoPi;
        return params.check1 ? -turn : turn;
    };

    if (!second) {
        const std::optional<SourceRows<uint8_t>> one = IndexedRows(*first);
        if (!one) return nullptr;
        const int64_t radius = SphereRadius(params.value1, one->width, one->height);
        return RunIndexed(*first, params, progress, [&](int32_t i, int32_t y, uint8_t* target) {
            DrawSphereRow<uint8_t>({&*one, nullptr}, 1, radius, turnOf(i), y, target);
        });
    }
    const auto pair = TrueColorPair(*first, *second);
    if (!pair) return nullptr;
    const int64_t radius = SphereRadius(params.value1, (*pair)[0].width, (*pair)[0].height);
    const uint32_t color = PaletteColor(*first, params.colorIndex);
    return RunTrueColor(
        *first, *second, params, progress,
        [&](int32_t, uint32_t* target) { std::fill_n(target, (*pair)[0].width, color); },
        [&](int32_t i, int32_t y, uint32_t* target) {
            DrawSphereRow<uint32_t>({&(*pair)[0], &(*pair)[1]}, 2, radius, turnOf(i), y, target);
        });
}

FrameChain ComputeTiltIn(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress) {
    if (!first) return nullptr;
    const int32_t h = ComputedCount(params.frameCount, params.pingPong != 0);
    if (h <= 0) return nullptr;
    auto doorOf = [&](int32_t width, int32_t height, int32_t i) {
        return Door(width, height, params.direction, params.value1, i, h, second != nullptr);
    };

    if (!second) {
        const std::optional<SourceRows<uint8_t>> one = IndexedRows(*first);
        if (!one) return nullptr;
        return RunIndexed(*first, params, progress, [&](int32_t i, int32_t y, uint8_t* target) {
            DrawDoorRow(*one, doorOf(one->width, one->height, i), y, target);
        });
    }
    const auto pair = TrueColorPair(*first, *second);
    if (!pair) return nullptr;
    const SourceRows<uint32_t>& base = (*pair)[0];
    const SourceRows<uint32_t>& swinging = (*pair)[1];
    return RunTrueColor(
        *first, *second, params, progress,
        [&](int32_t y, uint32_t* target) {
            std::copy_n(base.rows[static_cast<std::size_t>(y)], base.width, target);
        },
        [&](int32_t i, int32_t y, uint32_t* target) {
            DrawDoorRow(swinging, doorOf(swinging.width, swinging.height, i), y, target);
        });
}

}  // namespace anitrope
