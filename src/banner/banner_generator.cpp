#include "banner/banner_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "banner/shadowed_text.h"
#include "model/animation.h"
#include "model/picture_frame.h"

namespace anitrope {
namespace {

Gif* Refuse(BannerRequest& request, BannerStatus status, std::string why) {
    request.frames.reset();
    request.usable = false;
    request.status = status;
    request.failure = std::move(why);
    return nullptr;
}

// The request's own checks, beyond the dialog's ranges: a caller other than the dialog may
// hand in anything.
std::string RequestProblem(const BannerRequest& request) {
    if (auto range = FirstOutOfRange(request)) return RangeMessage(*range);
    if (request.font.height < -kMaxBannerFontHeight || request.font.height > kMaxBannerFontHeight)
        return RangeMessage({"Font Height", -kMaxBannerFontHeight, kMaxBannerFontHeight, 0});
    if (CharacterCount(request.text) > kMaxBannerTextLength)
        return "The banner text is longer than " + std::to_string(kMaxBannerTextLength) +
               " characters";
    return {};
}

// Frames of W x H awaiting their pictures, linked one after another.
FrameChain MakeBannerFrames(const NewBannerFrame& newFrame, const BannerRequest& request) {
    FrameChain chain;
    Gif* last = nullptr;
    for (int32_t i = 0; i < request.frameCount; ++i) {
        auto pixels = std::make_unique<TrueColorBitmap>(request.imageWidth, request.imageHeight);
        Gif* gif = newFrame();
        if (!gif) return nullptr;
        if (!SetPicture(*gif, std::move(pixels))) {
            DiscardGif(gif);
            return nullptr;
        }
        if (request.usePalette) gif->palette = request.palette;
        if (last) {
            last->next = gif;
            gif->prev = last;
        } else {
            chain.reset(gif);
        }
        last = gif;
    }
    return chain;
}

// The shadowed text drawn once on the background: dozens of copies of the text per frame
// become one copy of this, placed where the text goes. Only for drawers whose text looks the
// same wherever it is put, so that every frame gets exactly what drawing there would give.
struct TextStamp {
    std::unique_ptr<TrueColorBitmap> pixels;
    PixelRect bounds;  // from the text's top left corner

    void CopyInto(TrueColorBitmap& bitmap, const PixelRect& clip, int32_t x, int32_t y) const {
        const int64_t left = std::max<int64_t>(clip.left, int64_t{x} + bounds.left);
        const int64_t right = std::min<int64_t>(clip.right, int64_t{x} + bounds.right);
        const int64_t top = std::max<int64_t>(clip.top, int64_t{y} + bounds.top);
        const int64_t bottom = std::min<int64_t>(clip.bottom, int64_t{y} + bounds.bottom);
        if (left >= right || top >= bottom) return;
        const int64_t column = left - (int64_t{x} + bounds.left);
        for (int64_t row = top; row < bottom; ++row) {
            const uint32_t* from =
                pixels->Row(static_cast<int32_t>(row - (int64_t{y} + bounds.top))) + column;
            std::copy(from, from + (right - left), bitmap.Row(static_cast<int32_t>(row)) + left);
        }
    }
};

// Stamps larger than this are not worth their memory: such text is drawn frame by frame.
constexpr int64_t kMaxStampBytes = int64_t{64} << 20;

std::optional<TextStamp> MakeStamp(TextDrawer& drawer, const BannerRequest& request,
                                   const SoftShadow& shadow) {
    const std::optional<PixelRect> ink = drawer.InkBounds(request.font, request.text);
    if (!ink) return std::nullopt;
    // The text's own ink, and the shadow's copies around its centre.
    const int64_t reach = std::max(shadow.thickness, 0);
    const int64_t left = std::min<int64_t>(ink->left, ink->left + int64_t{shadow.dx} - reach);
    const int64_t right = std::max<int64_t>(ink->right, ink->right + int64_t{shadow.dx} + reach);
    const int64_t top = std::min<int64_t>(ink->top, ink->top + int64_t{shadow.dy} - reach);
    const int64_t bottom = std::max<int64_t>(ink->bottom, ink->bottom + int64_t{shadow.dy} + reach);
    if (right <= left || bottom <= top || (right - left) * (bottom - top) * 4 > kMaxStampBytes)
        return std::nullopt;
    TextStamp stamp;
    stamp.bounds = {static_cast<int32_t>(left), static_cast<int32_t>(top),
                    static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    stamp.pixels = std::make_unique<TrueColorBitmap>(stamp.bounds.Width(), stamp.bounds.Height());
    if (!stamp.pixels->HasRows()) return std::nullopt;
    const PixelRect all{0, 0, stamp.bounds.Width(), stamp.bounds.Height()};
    FillPixels(*stamp.pixels, all, request.backgroundColor);
    TextCanvas canvas{&drawer, stamp.pixels.get(), all, request.font};
    DrawShadowedText(canvas, request.text, -stamp.bounds.left, -stamp.bounds.top, shadow,
                     request.textColor, request.backgroundColor, request.shadowColor);
    return stamp;
}

}  // namespace

void FillPixels(TrueColorBitmap& bitmap, const PixelRect& rect, uint32_t color) {
    for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, bitmap.Height()); ++y) {
        uint32_t* row = bitmap.Row(y);
        for (int32_t x = std::max(rect.left, 0); x < std::min(rect.right, bitmap.Width()); ++x)
            row[x] = color;
    }
}

namespace {

// The sunken edge of the classic three-dimensional look: a grey and a dark line at the top
// and left, white and light grey at the bottom and right, two pixels deep.
inline constexpr uint32_t kEdgeOuterShade = 0x808080;
inline constexpr uint32_t kEdgeInnerShade = 0x404040;
inline constexpr uint32_t kEdgeOuterLight = 0xFFFFFF;
inline constexpr uint32_t kEdgeInnerLight = 0xC0C0C0;

// One ring of the edge on `rect`; returns the rectangle inside it. The bottom and right go
// last, so they own the top-right and bottom-left corners.
PixelRect DrawEdgeRing(TrueColorBitmap& bitmap, const PixelRect& rect, uint32_t shade,
                       uint32_t light) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return rect;
    FillPixels(bitmap, {rect.left, rect.top, rect.right, rect.top + 1}, shade);
    FillPixels(bitmap, {rect.left, rect.top, rect.left + 1, rect.bottom}, shade);
    FillPixels(bitmap, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, light);
    FillPixels(bitmap, {rect.right - 1, rect.top, rect.right, rect.bottom}, light);
    return {rect.left + 1, rect.top + 1, std::max(rect.left + 1, rect.right - 1),
            std::max(rect.top + 1, rect.bottom - 1)};
}

}  // namespace

PixelRect DrawSunkenEdge(TrueColorBitmap& bitmap, const PixelRect& rect) {
    return DrawEdgeRing(bitmap, DrawEdgeRing(bitmap, rect, kEdgeOuterShade, kEdgeOuterLight),
                        kEdgeInnerShade, kEdgeInnerLight);
}

bool BannerFits(int64_t width, int64_t height, int64_t frames) {
    constexpr int64_t kBytesPerPixel = 5;  // 4 of true colour, 1 indexed
    if (width < 0 || height < 0 || frames < 0) return false;
    if (width == 0 || height == 0) return true;
    if (width > kMaxBannerBytes / kBytesPerPixel / height) return false;
    return frames <= kMaxBannerBytes / (width * height * kBytesPerPixel);
}

std::string TooLargeMessage(int32_t width, int32_t height, int32_t frames) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "%d frames of %d x %d pixels need more than the %lld MB a banner may take",
                  frames, width, height, static_cast<long long>(kMaxBannerBytes >> 20));
    return text;
}

int64_t ScrollDistance(int32_t textWidth, int32_t imageWidth, int32_t shadowXOffset,
                       int32_t shadowThickness) {
    const int64_t cx = textWidth;
    const int64_t s = shadowThickness;
    return std::max(cx + 2 * s, cx + std::abs(int64_t{shadowXOffset}) + s) + imageWidth;
}

int32_t FrameTextX(int32_t index, int32_t frames, int32_t textWidth, int32_t imageWidth,
                   int32_t shadowXOffset, int32_t shadowThickness) {
    int64_t x;
    if (frames <= 1) {
        x = std::max<int64_t>((int64_t{imageWidth} - textWidth) / 2, 0);
    } else {
        const int64_t dist = ScrollDistance(textWidth, imageWidth, shadowXOffset, shadowThickness);
        // The product first: dividing the distance first would lose up to a pixel per frame
        // and leave the last frame short of the left edge.
        x = imageWidth - int64_t{index} * dist / (frames - 1);
    }
    // A shadow reaching further left than the text: start further right, so that it too
    // enters from the right edge.
    if (shadowXOffset - shadowThickness < 0) x += int64_t{shadowThickness} - shadowXOffset;
    return static_cast<int32_t>(std::clamp<int64_t>(x, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

Gif* GenerateBanner(Animation& animation, BannerRequest& request, TextDrawer& drawer,
                    const BannerStep& step) {
    return GenerateBanner([&animation] { return CreateGif(animation, nullptr, nullptr); }, request,
                          drawer, step);
}

Gif* GenerateBanner(const NewBannerFrame& newFrame, BannerRequest& request, TextDrawer& drawer,
                    const BannerStep& step) {
    if (!request.usable || !request.accepted) {
        request.status = BannerNotRequested;
        return nullptr;
    }
    if (std::string problem = RequestProblem(request); !problem.empty())
        return Refuse(request, BannerOutOfRange, std::move(problem));
    const int32_t width = request.imageWidth;
    const int32_t height = request.imageHeight;
    const int32_t frames = request.frameCount;
    if (!BannerFits(width, height, frames))
        return Refuse(request, BannerTooLarge, TooLargeMessage(width, height, frames));

    FrameChain chain = MakeBannerFrames(newFrame, request);
    if (!chain) return Refuse(request, BannerNoMemory, "Not enough memory for the banner frames");
    auto stopped = [&] { return step && !step(); };
    if (stopped()) return Refuse(request, BannerStopped, "The banner was cancelled");

    const TextExtent extent = drawer.Measure(request.font, request.text);
    const int32_t s = request.shadowThickness;
    const bool shadowOn = request.shadowEnabled != 0;
    SoftShadow shadow;
    shadow.dx = request.shadowXOffset;
    shadow.dy = request.shadowYOffset;
    shadow.intensity = shadowOn ? request.shadowIntensity : 0;
    shadow.thickness = shadowOn && request.shadowIntensity > 0 ? s : 0;
    shadow.style = kBannerShadowStyle;
    const int32_t y = request.textYOffset + (height - extent.height) / 2;

    const std::optional<TextStamp> stamp =
        frames > 1 ? MakeStamp(drawer, request, shadow) : std::nullopt;
    int32_t index = 0;
    for (Gif* gif = chain.get(); gif; gif = gif->next, ++index) {
        if (stopped()) return Refuse(request, BannerStopped, "The banner was cancelled");
        TrueColorBitmap& bitmap = *gif->trueColor;
        PixelRect inside{0, 0, width, height};
        if (request.drawBorder) inside = DrawSunkenEdge(bitmap, inside);
        FillPixels(bitmap, inside, request.backgroundColor);
        const int32_t x =
            FrameTextX(index, frames, extent.width, width, request.shadowXOffset, s);
        if (stamp) {
            stamp->CopyInto(bitmap, inside, x, y);
            continue;
        }
        TextCanvas canvas{&drawer, &bitmap, inside, request.font};
        DrawShadowedText(canvas, request.text, x, y, shadow, request.textColor,
                         request.backgroundColor, request.shadowColor);
    }
    request.frames = std::move(chain);
    request.status = BannerDone;
    request.failure.clear();
    return request.frames.get();
}

}  // namespace anitrope
