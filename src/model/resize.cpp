#include "model/resize.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"
#include "model/picture_limits.h"
#include "model/resample.h"
#include "model/true_color_conversion.h"

namespace anitrope {
namespace {

struct FrameGeometry {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

bool ValidSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && PictureSizeAllowed(width, height);
}

// num / den, or NaN for a zero denominator, which the conversions below refuse.
double Ratio(double num, double den) {
    return den == 0 ? std::numeric_limits<double>::quiet_NaN() : num / den;
}

// round(v) as truncation of v + 0.5; nothing for a value no picture can have.
std::optional<int32_t> RoundedExtent(double v) {
    const double t = v + 0.5;
    if (!(t >= 1 && t < static_cast<double>(kMaxPictureDimension) + 1)) return std::nullopt;
    return static_cast<int32_t>(t);
}

int32_t TruncatedPosition(double v) {
    if (std::isnan(v)) return 0;
    constexpr auto lo = static_cast<double>(std::numeric_limits<int32_t>::min());
    constexpr auto hi = static_cast<double>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(std::clamp(v, lo, hi));
}

// The screen size that positioned frames scale from: the screen the first such resize saw,
// renewed by frames that start at the origin.
void RememberScreen(Animation& doc, const Gif& gif) {
    if (!doc.resizeMemorySet) {
        doc.resizeMemorySet = true;
    } else if (gif.left != 0 || gif.top != 0) {
        return;
    } else if (&gif != doc.head) {
        if (doc.loadingResize) return;
        doc.rememberedWidth = BitmapExtent(gif.width);
        doc.rememberedHeight = BitmapExtent(gif.height);
        return;
    }
    doc.rememberedWidth = doc.screenWidth;
    doc.rememberedHeight = doc.screenHeight;
}

// Where and how large the frame becomes when the screen is resized to screenW x screenH.
std::optional<FrameGeometry> FitToScreen(Gif& gif, int32_t screenW, int32_t screenH) {
    Animation& doc = *gif.animation;
    RememberScreen(doc, gif);
    const double w = gif.width, h = gif.height, nw = screenW, nh = screenH;
    const double r = doc.screenWidth, s = doc.screenHeight;
    FrameGeometry g{gif.left, gif.top, screenW, screenH};

    std::optional<int32_t> width = screenW;
    if (gif.left != 0) {
        const double fx = Ratio(nw, doc.rememberedWidth);
        width = RoundedExtent(w * fx);
        g.left = TruncatedPosition(gif.left * fx - 0.5);
    } else if (w != r && nw != r) {
        width = RoundedExtent(Ratio(nw * w, r));
    }

    std::optional<int32_t> height = screenH;
    if (gif.top != 0) {
        const double fy = Ratio(nh, doc.rememberedHeight);
        height = RoundedExtent(h * fy);
        g.top = TruncatedPosition(gif.top * fy + 0.5);
    } else if (h != s) {
        height = RoundedExtent(Ratio(nh * h, nh != s ? s : doc.rememberedHeight));
    }

    if (!width || !height || !ValidSize(*width, *height)) return std::nullopt;
    g.width = *width;
    g.height = *height;
    return g;
}

bool ResizeNearest(Gif& gif, int32_t newWidth, int32_t newHeight) {
    auto resized = std::make_shared<IndexedBitmap>(&gif, newWidth, newHeight);
    if (!resized->HasRows()) return false;

    const IndexedBitmap* old = gif.indexed.get();
    if (old && old->HasRows()) {
        const double xs = static_cast<double>(gif.width) / newWidth;
        const double ys = static_cast<double>(gif.height) / newHeight;
        // Clamped: the summed steps may drift past the last source pixel.
        const int64_t lastX = old->Width() - 1, lastY = old->Height() - 1;
        double v = 0;
        for (int32_t y = 0; y < newHeight; ++y, v += ys) {
            const auto sy = static_cast<int32_t>(std::min(static_cast<int64_t>(v), lastY));
            double u = 0;
            for (int32_t x = 0; x < newWidth; ++x, u += xs) {
                const auto sx = static_cast<int32_t>(std::min(static_cast<int64_t>(u), lastX));
                resized->Set(x, y, old->Get(sx, sy));
            }
        }
    }
    gif.indexed = std::move(resized);
    gif.width = static_cast<uint32_t>(newWidth);
    gif.height = static_cast<uint32_t>(newHeight);
    return true;
}

bool ResizeSmooth(Gif& gif, const FrameGeometry& g) {
    if (gif.width == 0 || gif.height == 0) return false;

    // Both passes' buffers first, so that running out of memory changes nothing.
    const int32_t oldHeight = BitmapExtent(gif.height);
    TrueColorBitmap across(g.width, oldHeight);
    auto result = std::make_shared<TrueColorBitmap>(g.width, g.height);
    auto indexed = std::make_shared<IndexedBitmap>(&gif, g.width, g.height);
    if (!across.HasRows() || !result->HasRows() || !indexed->HasRows()) return false;

    MakeTrueColor(&gif, true);
    ResampleAxis(*gif.trueColor, across, Axis::Horizontal,
                 static_cast<double>(g.width) / gif.width);
    ResampleAxis(across, *result, Axis::Vertical, static_cast<double>(g.height) / gif.height);

    gif.indexed = std::move(indexed);
    gif.trueColor = std::move(result);
    gif.left = g.left;
    gif.top = g.top;
    gif.width = static_cast<uint32_t>(g.width);
    gif.height = static_cast<uint32_t>(g.height);
    return true;
}

}  // namespace

bool ResizeGif(Gif& gif, int32_t newWidth, int32_t newHeight, bool smooth, bool keepOrigin) {
    if (!ValidSize(newWidth, newHeight)) return false;
    if (!smooth) return ResizeNearest(gif, newWidth, newHeight);
    FrameGeometry g{gif.left, gif.top, newWidth, newHeight};
    if (!keepOrigin && gif.animation) {
        const auto fitted = FitToScreen(gif, newWidth, newHeight);
        if (!fitted) return false;
        g = *fitted;
    }
    return ResizeSmooth(gif, g);
}

bool ResizeAnimation(Animation& animation, int32_t width, int32_t height, bool smooth) {
    if (!ValidSize(width, height)) return false;
    // The screen keeps its old size until the last frame is placed: every frame scales from it.
    for (Gif* g = animation.head; g; g = g->next) {
        g->animation = &animation;  // the screen it scales from
        const auto fitted = FitToScreen(*g, width, height);
        if (!fitted) return false;
        if (smooth) {
            if (!ResizeSmooth(*g, *fitted)) return false;
            continue;
        }
        if (!ResizeNearest(*g, fitted->width, fitted->height)) return false;
        g->left = fitted->left;
        g->top = fitted->top;
    }
    animation.screenWidth = width;
    animation.screenHeight = height;
    return true;
}

}  // namespace anitrope
