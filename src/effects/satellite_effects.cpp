#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/sphere_projection.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kOutOfRange = "Parameter out of Range";

constexpr double kDegree = 0.017453292522222223;
constexpr double kInvTwoPi = 0.15915494307111402;
// Radians of the ring's circumference per thousandth of the satellite's width.
constexpr double kRingSpanPerMille = 0.006283185308000001;

// What each "Start Position" puts into "Satellite Angle" (slot 3) and "Satellite Tilt Angle"
// (slot 2), in the list's order (the entry table names the positions).
struct StartAngles {
    const char* angle;
    const char* tilt;
};
constexpr StartAngles kStartAngles[] = {{"0", "0"},     {"60", "50"},    {"60", "-50"},
                                        {"-60", "-50"}, {"-60", "50"},   {"120", "50"},
                                        {"120", "-50"}, {"-120", "-50"}, {"-120", "50"}};

// The sizes a run works with, in pixels and thousandths.
struct Sizes {
    int64_t sphere = 0;  // b
    int64_t orbit = 0;   // Rs
    int64_t width = 0;   // w, thousandths of image 2's width
    int64_t height = 0;  // h
};

Sizes SizesOf(const EffectParams& params, int64_t width, int64_t height, bool flat) {
    Sizes sizes;
    const int64_t smaller = std::min(width, height);
    sizes.sphere = params.value1 < 0 ? 0 : params.value1 * smaller / 200;
    const int64_t c0 = smaller * 100 / 200;
    sizes.orbit = c0;
    if (flat) {
        const int64_t g = std::clamp(params.value4, 0, 100), f = std::clamp(params.value5, 0, 100);
        const int64_t hh = height * f * 10 / 2000, hw = width * g * 10 / 2000;
        // Far enough out that the picture clears the sphere, near enough to stay in the frame
        // where the sphere allows.
        const int64_t l = std::max(std::min(c0 - hh, c0 - hw), sizes.sphere + hw);
        sizes.orbit = std::max(sizes.sphere + hh, l);
    }
    if (sizes.orbit <= 0) sizes.orbit = 1;
    sizes.width = std::clamp<int64_t>(int64_t{params.value4} * 10, 0, 1000);
    sizes.height = std::clamp<int64_t>(int64_t{params.value5} * 10, 0, 1000);
    return sizes;
}

// A source pixel (column, row) of a picture width x height, from coordinates still real and
// truncated toward zero; none outside (far outside, or not a number, does not fit an integer).
std::optional<std::array<int32_t, 2>> Inside(double column, double row, int32_t width,
                                             int32_t height) {
    if (!(column >= 0 && column < width && row >= 0 && row < height)) return std::nullopt;
    return std::array{static_cast<int32_t>(column), static_cast<int32_t>(row)};
}

// One frame k of n: the turns and where the flat satellite stands.
class SatelliteFrame {
public:
    SatelliteFrame(const EffectParams& params, const Sizes& sizes, int32_t width, int32_t height,
                   int32_t k, int32_t n)
        : sizes_(sizes), width_(width), height_(height), flat_(params.check4 != 0) {
        const double tilt = params.value2 * kDegree;
        cosTilt_ = std::cos(tilt);
        sinTilt_ = std::sin(tilt);
        angle_ = params.value3 * kDegree;
        orbitTurn_ = kSphereTwoPi * k / n;
        if (params.check2) orbitTurn_ = -orbitTurn_;
        sphereTurn_ = params.check3 ? kSphereTwoPi * k / n : 0;
        if (params.check1) sphereTurn_ = -sphereTurn_;

        const double orbit = static_cast<double>(sizes.orbit);
        const double p = orbit * std::cos(orbitTurn_), q = orbit * std::sin(orbitTurn_);
        const double turned = -(params.value3 * kDegree);
        flatInFront_ = p * cosTilt_ * std::cos(turned) - q * std::sin(turned) >= 0;
        flatX_ = q * std::cos(turned) + p * cosTilt_ * std::sin(turned);
        flatY_ = p * sinTilt_;
        shown_ = sizes.orbit > 0 && sizes.width > 0 && sizes.height > 0;
    }

    // Row y: the satellite behind the sphere, the sphere, the satellite in front of it.
    void Paint(const SourcePicture& one, const SourcePicture& two, int32_t y,
               uint32_t* target) const {
        if (shown_) Satellite(two, y, false, target);
        Sphere(one, y, target);
        if (shown_) Satellite(two, y, true, target);
    }

private:
    void Satellite(const SourcePicture& two, int32_t y, bool front, uint32_t* target) const {
        const int32_t w = width_, h = height_;
        if (flat_) {
            if (front != flatInFront_) return;
            const double dy = static_cast<double>(h / 2 - y) - flatY_;
            const double row = h / 2 - std::trunc(dy * 1000 / static_cast<double>(sizes_.height));
            for (int32_t x = 0; x < w; ++x) {
                const double dx = static_cast<double>(x - w / 2) - flatX_;
                const double column =
                    w / 2 + std::trunc(dx * 1000 / static_cast<double>(sizes_.width));
                if (const auto source = Inside(column, row, w, h)) Copy(two, *source, target[x]);
            }
            return;
        }
        const int64_t dy = h / 2 - y;
        const SphereRow ring(dy, sizes_.orbit);
        if (!ring.Crosses()) return;
        const double latitude = ring.Latitude(), r = ring.Ring();
        if (!(latitude >= 0 && latitude <= kSpherePi)) return;
        const double orbit = static_cast<double>(sizes_.orbit);
        const double span = static_cast<double>(sizes_.width) * kRingSpanPerMille;
        for (int32_t x = 0; x < w; ++x) {
            const std::optional<double> psi = ring.Longitude(x - w / 2);
            if (!psi || !(*psi >= -kSphereHalfPi && *psi <= kSphereHalfPi)) continue;
            // The point seen here on the near or the far side, then tilted about the view's
            // horizontal axis onto the satellite's ring.
            const double a = (front ? *psi : kSpherePi - *psi) + angle_;
            const double across = r * std::cos(a);
            const double y2 = static_cast<double>(dy) * cosTilt_ - sinTilt_ * across;
            const double z2 = across * cosTilt_ + static_cast<double>(dy) * sinTilt_;
            const double x2 = r * std::sin(a);
            if (!(std::abs(y2) <= orbit)) continue;
            const double latitude2 = std::acos(y2 / orbit);
            const double sine2 = std::sin(latitude2);
            const double r2 = sine2 * orbit;
            if (!(std::abs(x2) <= std::abs(r2))) continue;
            double longitude = sine2 == 0 ? 0 : std::asin(x2 / r2);
            if (z2 < 0) longitude = kSpherePi - longitude;
            if (!(latitude2 >= 0 && latitude2 <= kSpherePi)) continue;
            const double row = h / 2 + std::trunc((latitude2 - kSphereHalfPi) /
                                                  static_cast<double>(sizes_.height) * 1000 *
                                                  (h - 1) * kSphereInvPi);
            longitude = TurnInto(longitude, orbitTurn_);
            const double column = std::trunc((longitude - orbitTurn_) * w / span);
            if (const auto source = Inside(column, row, w, h)) Copy(two, *source, target[x]);
        }
    }

    void Sphere(const SourcePicture& one, int32_t y, uint32_t* target) const {
        const int32_t w = width_, h = height_;
        const SphereRow row(h / 2 - y, sizes_.sphere);
        if (!row.Crosses()) return;
        const double latitude = row.Latitude();
        if (!(latitude >= 0 && latitude <= kSpherePi)) return;
        const int32_t sy = SphereSourceRow(h, latitude);
        for (int32_t x = 0; x < w; ++x) {
            const std::optional<double> psi = row.Longitude(x - w / 2);
            if (!psi) continue;
            const double longitude = *psi + kSphereHalfPi;
            if (!(longitude >= 0 && longitude <= kSpherePi)) continue;
            const double theta = TurnInto(longitude, sphereTurn_);
            const double column = (theta - sphereTurn_) * w * kInvTwoPi;
            const int32_t sx = column < w - 1 ? std::max(static_cast<int32_t>(column), 0) : w - 1;
            Copy(one, {sx, sy}, target[x]);
        }
    }

    static void Copy(const SourcePicture& picture, std::array<int32_t, 2> at, uint32_t& target) {
        const uint32_t p = picture.Row(at[1])[at[0]];
        if (!picture.IsTransparent(p)) target = p;
    }

    Sizes sizes_;
    int32_t width_;
    int32_t height_;
    bool flat_;
    bool shown_ = false;
    double cosTilt_ = 1;
    double sinTilt_ = 0;
    double angle_ = 0;
    double orbitTurn_ = 0;
    double sphereTurn_ = 0;
    bool flatInFront_ = true;
    double flatX_ = 0;
    double flatY_ = 0;
};

}  // namespace

int SetupSatellite(EffectSlots& slots, SetupMode mode) {
    if (mode == SetupMode::Init || mode == SetupMode::ComboChanged) {
        const int item = slots.ListSelection(1);
        if (item >= 0 && item < static_cast<int>(std::size(kStartAngles))) {
            slots.EnableValue(3, std::nullopt, kStartAngles[item].angle);
            slots.EnableValue(2, std::nullopt, kStartAngles[item].tilt);
        }
        return 1;
    }
    if (mode != SetupMode::Validate) return 1;
    if (slots.Value(1) < 0) {
        slots.Refuse("The 'Sphere-Radius' in percent must be greater or equal to 0.", kOutOfRange,
                     1);
        return 0;
    }
    for (const auto& [slot, message] :
         {std::pair{4, "The 'Ring Image width' in percent must be in range 0 to 100."},
          std::pair{5, "The 'Ring Image height' in percent must be in range 0 to 100."}}) {
        const int32_t value = slots.Value(slot);
        if (value >= 0 && value <= 100) continue;
        slots.Refuse(message, kOutOfRange, slot);
        return 0;
    }
    return 1;
}

FrameChain ComputeSatellite(const Gif* first, const Gif* second, const EffectParams& params,
                            EffectProgress& progress) {
    if (!first || !second) return nullptr;
    const SourcePicture one = ReadSource(*first), two = ReadSource(*second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    const bool flat = params.check4 != 0;
    const Sizes sizes = SizesOf(params, one.width, one.height, flat);
    // A ring narrower than the sphere would circle inside it, never seen.
    if (!flat && sizes.orbit < sizes.sphere) return nullptr;
    const int32_t n = ComputedCount(params.frameCount, params.pingPong != 0);
    if (n <= 0) return nullptr;
    const uint32_t color = PaletteColor(*first, params.colorIndex);
    return ComputeFrames(first, second, params, progress, [&](int32_t k, TrueColorBitmap& out) {
        const SatelliteFrame frame(params, sizes, one.width, one.height, k, n);
        for (int32_t y = 0; y < one.height; ++y) {
            uint32_t* target = out.Row(y);
            std::fill_n(target, one.width, color);
            frame.Paint(one, two, y, target);
        }
    });
}

}  // namespace anitrope
