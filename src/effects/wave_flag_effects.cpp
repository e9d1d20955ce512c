#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "effects/indexed_frames.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"
#include "model/resize.h"

namespace anitrope {
namespace {

constexpr const char* kOutOfRange = "Parameter out of Range";
// The constants the sequences have always been made with.
constexpr double kPi = 3.141592654;
constexpr double kDegree = 0.017453292522222223;

// Which pixels of a source let what lies below show through: only in a source with its
// transparency flag set.
template <class Pixel>
struct Keyed {
    bool keyed = false;
    uint32_t mask = 0;
    uint32_t match = 0;
    bool Clear(Pixel p) const { return keyed && (p & mask) == match; }
};

// The swing of one run: every row of every frame is the moving image shifted sideways.
class Swing {
  public:
    Swing(const EffectParams& params, int32_t frames, int32_t width, int32_t height, bool out,
          bool background)
        : out_(out),
          background_(background),
          upToDown_(params.check1 != 0),
          frames_(frames),
          width_(width),
          height_(height) {
        const int32_t halfWaves = std::max(params.value1, 0);
        r_ = (180.0 * halfWaves + 90.0) * kDegree;
        const double f = params.check2 ? -static_cast<double>(width) : width;
        // An odd number of half-waves ends the swing on the other side.
        f_ = halfWaves % 2 != 0 ? -f : f;
    }

    // How far row y of frame i is shifted to the right.
    int32_t Shift(int32_t i, int32_t y) const {
        double l;
        if (!out_)
            l = static_cast<double>(frames_ - i) / (frames_ + 1.0);
        else
            l = (i + 1.0) / (background_ ? frames_ + 1.0 : frames_);
        const double t = (r_ + kPi) * l;
        double h;
        if (!upToDown_)
            h = (height_ - static_cast<double>(y)) / (height_ + 1.0);
        else
            h = (y + 1.0) / (background_ ? height_ + 1.0 : height_);
        double theta = out_ ? t - h * kPi : t + h * kPi - kPi;
        if (theta > r_) theta = r_;
        if (theta < 0) theta = 0;
        const double shift = std::floor(theta * f_ / r_ * std::sin(theta) + 0.5);
        // |shift| never exceeds the width; the clamp only keeps the conversion defined.
        return static_cast<int32_t>(std::clamp(shift, -1.0 * width_, 1.0 * width_));
    }

    // Row y of the moving image drawn `shift` pixels to the right over `target`.
    template <class Pixel>
    void Draw(const Pixel* moving, const Keyed<Pixel>& key, int32_t shift, Pixel* target) const {
        const int32_t from = std::max(shift, 0), to = std::min(width_ - 1, width_ - 1 + shift);
        for (int32_t k = from; k <= to; ++k)
            if (const Pixel p = moving[k - shift]; !key.Clear(p)) target[k] = p;
    }

  private:
    bool out_;
    bool background_;  // a second image lies below (or above) the moving one
    bool upToDown_;
    int32_t frames_;
    int32_t width_;
    int32_t height_;
    double r_ = 0;
    double f_ = 0;
};

FrameChain ComputeWaveFrames(const Gif* first, const Gif* second, const EffectParams& params,
                             EffectProgress& progress) {
    if (!first) return nullptr;
    // The effect always swings out; its table leaves check 3 to whatever came before.
    const bool out = !second || params.check3 != 0;
    const int32_t n = ComputedCount(params.frameCount, params.pingPong != 0);
    if (n <= 0) return nullptr;
    const int32_t w = BitmapExtent(first->width), h = BitmapExtent(first->height);
    const Swing swing(params, n, w, h, out, second != nullptr);

    if (!second) {
        const Keyed<uint8_t> key{first->transparent != 0, 0xFF,
                                 static_cast<uint32_t>(first->transparentIndex)};
        const uint8_t color = IndexByte(params.colorIndex);
        return ComputeIndexedFrames(
            *first, params, progress,
            [&](int32_t i, int32_t y, const uint8_t* source, uint8_t* target) {
                std::fill_n(target, w, color);
                swing.Draw(source, key, swing.Shift(i, y), target);
            });
    }
    const SourcePicture one = ReadSource(*first), two = ReadSource(*second);
    if (!one.Valid() || !two.Valid() || one.width != two.width || one.height != two.height)
        return nullptr;
    const SourcePicture& moving = out ? one : two;
    const SourcePicture& below = out ? two : one;
    const Keyed<uint32_t> key{moving.transparent, TransparentBit, TransparentBit};
    return ComputeFrames(first, second, params, progress, [&](int32_t i, TrueColorBitmap& frame) {
        for (int32_t y = 0; y < h; ++y) {
            uint32_t* target = frame.Row(y);
            std::copy_n(below.Row(y), w, target);
            swing.Draw(moving.Row(y), key, swing.Shift(i, y), target);
        }
    });
}

// Image 1 squeezed to `height` rows, resampled as a frame is resized; transparent pixels
// carry the transparent bit. Null when the copy or the resize fails.
std::shared_ptr<const TrueColorBitmap> SqueezeFlag(const Gif& first, int32_t height) {
    Gif copy(first.animation);
    if (DuplicateGif(first, &copy, false) != 0) return nullptr;
    copy.palette = EffectivePalette(first);
    copy.usesLocalPalette = 1;
    if (!ResizeGif(copy, BitmapExtent(first.width), height, true, true) || !copy.trueColor ||
        !copy.trueColor->HasRows())
        return nullptr;
    return copy.trueColor;
}

// The colour goes into the first free KeepColors slot, unless it is there already, so that
// the reduction cannot drop it.
void KeepColor(Gif& gif, uint32_t color) {
    auto& keep = gif.keepColors;
    const auto value = static_cast<int32_t>(color);
    if (std::find(keep.begin(), keep.end(), value) != keep.end()) return;
    if (const auto free = std::find(keep.begin(), keep.end(), -1); free != keep.end())
        *free = value;
}

// Every frame is painted on its own, but the flag has always run to its end whatever the
// progress asks, so this is not ComputeFrames.
FrameChain ComputeFlagFrames(const Gif& first, const EffectParams& params,
                             EffectProgress& progress) {
    const int32_t w = BitmapExtent(first.width), h = BitmapExtent(first.height);
    const int32_t count = params.frameCount;
    const int64_t a = int64_t{params.value2} * h / 100;
    // The dialog keeps the amplitude below half the height, which leaves at least one row.
    if (count <= 0 || a < 0 || h - 2 * a < 1) return nullptr;
    const auto squeezed = static_cast<int32_t>(h - 2 * a);
    const std::shared_ptr<const TrueColorBitmap> cloth = SqueezeFlag(first, squeezed);
    if (!cloth) return nullptr;
    FrameChain chain = MakeOutputFrames(&first, nullptr, count);
    if (!chain) return nullptr;

    const uint32_t color = PaletteColor(first, params.colorIndex);
    // Rows 0 ... squeezed - 2 of the cloth wave; its last row is never shown.
    const int32_t shown = squeezed - 1;
    const double halfWaves = params.value1;
    std::vector<int32_t> offsets(static_cast<std::size_t>(w));
    if (!params.preview) progress.Announce(count);
    bool ok = true;
    int32_t k = 0;
    for (Gif* gif = chain.get(); gif && ok; gif = gif->next, ++k) {
        if (!params.preview) KeepColor(*gif, color);
        const double phase = static_cast<double>(k) / count * 6.283;
        for (int32_t x = 0; x < w; ++x)
            offsets[static_cast<std::size_t>(x)] = static_cast<int32_t>(
                (1 - std::sin(static_cast<double>(x) / w * halfWaves * 3.1415926 + phase)) *
                static_cast<double>(a));
        TrueColorBitmap& out = *gif->trueColor;
        ok = ForRowBlocks(h, progress, [&](int32_t firstRow, int32_t endRow) {
            for (int32_t y = firstRow; y < endRow; ++y) {
                uint32_t* target = out.Row(y);
                for (int32_t x = 0; x < w; ++x) {
                    const int32_t row = y - offsets[static_cast<std::size_t>(x)];
                    target[x] = row >= 0 && row < shown ? cloth->Row(row)[x] : color;
                }
            }
        });
        if (ok && !params.preview) progress.Step();
    }
    if (!params.preview) progress.End();
    if (!ok) return nullptr;
    return FinishFrames(std::move(chain), params.preview != 0, progress);
}

}  // namespace

int SetupWave(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate || slots.Value(1) >= 0) return 1;
    slots.Refuse("The 'Nr. Halfwaves' must be greater or equal to 0.", kOutOfRange, 1);
    return 0;
}

int SetupFlag(EffectSlots& slots, SetupMode mode) {
    if (mode != SetupMode::Validate) return 1;
    const int32_t amplitude = slots.Value(2);
    if (amplitude < 0 || amplitude >= 50) {
        slots.Refuse(amplitude < 0 ? "Amplitude must be > 0" : "Amplitude must be smaller than 50%",
                     kOutOfRange, 2);
        return 0;
    }
    // Taken as unsigned, a negative count is far too many.
    if (static_cast<uint32_t>(slots.Value(1)) >= static_cast<uint32_t>(slots.ImageWidth())) {
        slots.Refuse("Number of HalfWaves must be smaller than ImageWidht(=" +
                         std::to_string(slots.ImageWidth()) + ")",
                     kOutOfRange, 1);
        return 0;
    }
    return 1;
}

FrameChain ComputeWave(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress) {
    return ComputeWaveFrames(first, second, params, progress);
}

FrameChain ComputeFlag(const Gif* first, const Gif* second, const EffectParams& params,
                       EffectProgress& progress) {
    if (!first || second) return nullptr;
    return ComputeFlagFrames(*first, params, progress);
}

}  // namespace anitrope
