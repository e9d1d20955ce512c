#pragma once

// Where a frame pixel lands on a sphere seen from the front, shared by Roll Sphere and the
// sphere and ring of Roll Sphere with Satellite.

#include <cmath>
#include <cstdint>
#include <optional>

namespace anitrope {

// The angle constants the sequences have always been made with, ten digits each: results must
// not move by a pixel when a libm's pi is more exact.
inline constexpr double kSpherePi = 3.141592654;
inline constexpr double kSphereHalfPi = 1.570796327;
inline constexpr double kSphereTwoPi = 6.283185308;
inline constexpr double kSphereInvPi = 0.31830988614222805;

// `angle` moved by whole turns into [base, base + 2 pi).
inline double TurnInto(double angle, double base) {
    // The angles stay within a few turns of the base, so this loops a few times at most; a
    // value that is not a number fails both tests at once.
    while (angle < base) angle += kSphereTwoPi;
    while (angle >= base + kSphereTwoPi) angle -= kSphereTwoPi;
    return angle;
}

// One frame row of a sphere of `radius` pixels centred in the frame, dy pixels above the
// centre: its latitude (0 at the top, pi at the bottom) and the radius of that circle of
// latitude.
class SphereRow {
public:
    SphereRow(int64_t dy, int64_t radius) : dy2_(dy * dy) {
        crosses_ = radius > 0 && dy <= radius && -dy <= radius;
        if (!crosses_) return;
        // The frame is at most kMaxPictureDimension on a side, so a radius this large takes in
        // every pixel; its square would not fit.
        radius2_ = radius >= kWholeFrame ? INT64_MAX : radius * radius;
        latitude_ = std::acos(static_cast<double>(dy) / static_cast<double>(radius));
        ring_ = std::sin(latitude_) * static_cast<double>(radius);
    }

    bool Crosses() const { return crosses_; }
    double Latitude() const { return latitude_; }
    double Ring() const { return ring_; }

    // The longitude of the point dx pixels right of the centre, from -pi/2 at the left edge of
    // the circle to pi/2 at its right edge; none off the sphere.
    std::optional<double> Longitude(int64_t dx) const {
        if (!crosses_ || dx * dx > radius2_ - dy2_) return std::nullopt;
        const double x = static_cast<double>(dx);
        if (!(std::abs(x) <= std::abs(ring_))) return std::nullopt;
        return ring_ == 0 ? 0.0 : std::asin(x / ring_);
    }

private:
    static constexpr int64_t kWholeFrame = int64_t{1} << 31;

    int64_t dy2_;
    int64_t radius2_ = 0;
    bool crosses_ = false;
    double latitude_ = 0;
    double ring_ = 0;
};

// The source row for a latitude: top to bottom over the picture's height.
inline int32_t SphereSourceRow(int32_t height, double latitude) {
    const double row = static_cast<double>(height - 1) * latitude * kSphereInvPi;
    // Latitudes stay within [0, pi], below the constant pi, so this is inside already.
    if (!(row >= 0)) return 0;
    return row < height - 1 ? static_cast<int32_t>(row) : height - 1;
}

}  // namespace anitrope
