#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "banner/banner_settings.h"
#include "banner/text_drawer.h"

namespace anitrope {

struct Animation;
struct Gif;

// The most memory one banner's frames may take (true colour and indexed pixels): a mistyped
// frame count is refused, not attempted.
inline constexpr int64_t kMaxBannerBytes = int64_t{2} << 30;
bool BannerFits(int64_t width, int64_t height, int64_t frames);
// Why such a banner is refused.
std::string TooLargeMessage(int32_t width, int32_t height, int32_t frames);

// Fills `rect`, as far as it lies in the bitmap, with `color`.
void FillPixels(TrueColorBitmap& bitmap, const PixelRect& rect, uint32_t color);
// The classic sunken edge, two pixels deep, on `rect`; returns the rectangle inside it.
PixelRect DrawSunkenEdge(TrueColorBitmap& bitmap, const PixelRect& rect);

// How far the text travels from the first frame to the last: from entering at the right edge
// until it and its shadow have left on the left.
int64_t ScrollDistance(int32_t textWidth, int32_t imageWidth, int32_t shadowXOffset,
                       int32_t shadowThickness);
// The text's left edge in frame `index` of `frames`: centred when there is one frame.
int32_t FrameTextX(int32_t index, int32_t frames, int32_t textWidth, int32_t imageWidth,
                   int32_t shadowXOffset, int32_t shadowThickness);

// Asked once after the frames are made and before each frame is drawn; false stops.
using BannerStep = std::function<bool()>;

// A new frame, linked to nothing, of the animation the banner is for.
using NewBannerFrame = std::function<Gif*()>;

// Renders the request's banner with `drawer` as a chain of new frames (pending true colour,
// linked to nothing in the document; whoever adopts them reduces them), kept in
// request.frames and returned. Nothing when the request is not usable or not accepted; a
// refusal or failure returns nothing, clears `usable` and says why in status and failure.
// The document's screen is left alone: growing it to the banner is its owner's edit.
Gif* GenerateBanner(const NewBannerFrame& newFrame, BannerRequest& request, TextDrawer& drawer,
                    const BannerStep& step = {});
// The same with new frames of `animation`.
Gif* GenerateBanner(Animation& animation, BannerRequest& request, TextDrawer& drawer,
                    const BannerStep& step = {});

}  // namespace anitrope
