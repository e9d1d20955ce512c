#include "model/resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "model/true_color_bitmap.h"

namespace anitrope {
namespace {

// One row or column of a bitmap, addressed by its position along the line.
template <class Bitmap>
struct Line {
    Bitmap& bitmap;
    Axis axis;
    int32_t index;

    int32_t Length() const { return axis == Axis::Horizontal ? bitmap.Width() : bitmap.Height(); }
    uint32_t Get(int64_t i) const {
        const auto at = static_cast<int32_t>(i);
        return axis == Axis::Horizontal ? bitmap.Get(at, index) : bitmap.Get(index, at);
    }
    void Set(int64_t i, uint32_t value) const requires(!std::is_const_v<Bitmap>) {
        const auto at = static_cast<int32_t>(i);
        if (axis == Axis::Horizontal) {
            bitmap.Set(at, index, value);
        } else {
            bitmap.Set(index, at, value);
        }
    }
};

using Channels = std::array<double, 3>;

Channels ChannelsOf(uint32_t rgb) {
    return {static_cast<double>(rgb >> 16 & 0xFF), static_cast<double>(rgb >> 8 & 0xFF),
            static_cast<double>(rgb & 0xFF)};
}

uint32_t Pack(const Channels& c) {
    auto channel = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0)); };
    return channel(c[0]) << 16 | channel(c[1]) << 8 | channel(c[2]);
}

// The mean of source pixels [begin, end), or transparent when any of them is.
uint32_t BoxMean(const Line<const TrueColorBitmap>& source, int64_t begin, int64_t end) {
    std::array<uint32_t, 3> sum{};
    for (int64_t i = begin; i < end; ++i) {
        const uint32_t p = source.Get(i);
        if (p & TransparentBit) return TransparentBit;
        sum[0] += p >> 16 & 0xFF;
        sum[1] += p >> 8 & 0xFF;
        sum[2] += p & 0xFF;
    }
    const auto n = static_cast<uint32_t>(end - begin);
    return (sum[0] / n) << 16 | (sum[1] / n) << 8 | sum[2] / n;
}

void ShrinkLine(const Line<const TrueColorBitmap>& source, const Line<TrueColorBitmap>& target,
                double factor) {
    const auto box = std::max<int64_t>(1, static_cast<int64_t>(1.0 / factor + 0.5));
    const int64_t length = source.Length();
    for (int64_t begin = 0; begin < length; begin += box) {
        const auto to = static_cast<int64_t>(static_cast<double>(begin) * factor);
        if (to >= target.Length()) continue;
        target.Set(to, BoxMean(source, begin, std::min(begin + box, length)));
    }
}

void EnlargeLine(const Line<const TrueColorBitmap>& source, const Line<TrueColorBitmap>& target,
                 double factor) {
    const auto copies = static_cast<int64_t>(std::ceil(factor));
    const int64_t length = source.Length();
    for (int64_t i = 0; i < length; ++i) {
        const auto first = static_cast<int64_t>(static_cast<double>(i) * factor);
        const int64_t end = std::min<int64_t>(first + copies, target.Length());
        const uint32_t own = source.Get(i);
        if (own & TransparentBit) {
            for (int64_t to = first; to < end; ++to) target.Set(to, TransparentBit);
            continue;
        }
        // The last pixel has no successor to ramp toward, so it repeats unchanged.
        const uint32_t successor = i + 1 < length ? source.Get(i + 1) : own;
        Channels value = ChannelsOf(own);
        const Channels goal = ChannelsOf(successor);
        Channels step{};
        for (std::size_t c = 0; c < step.size(); ++c) step[c] = (goal[c] - value[c]) / factor;
        for (int64_t to = first; to < end; ++to) {
            target.Set(to, Pack(value));
            for (std::size_t c = 0; c < value.size(); ++c) value[c] += step[c];
        }
    }
}

int32_t LineCount(const TrueColorBitmap& bitmap, Axis axis) {
    return axis == Axis::Horizontal ? bitmap.Height() : bitmap.Width();
}

}  // namespace

void ResampleAxis(const TrueColorBitmap& source, TrueColorBitmap& target, Axis axis,
                  double factor) {
    if (!source.HasRows() || !target.HasRows() || !(factor > 0)) return;
    const int32_t lines = std::min(LineCount(source, axis), LineCount(target, axis));
    for (int32_t line = 0; line < lines; ++line) {
        const Line<const TrueColorBitmap> from{source, axis, line};
        const Line<TrueColorBitmap> to{target, axis, line};
        if (factor < 1) {
            ShrinkLine(from, to, factor);
        } else {
            EnlargeLine(from, to, factor);
        }
    }
}

}  // namespace anitrope
