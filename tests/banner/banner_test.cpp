#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "banner/banner_generator.h"
#include "banner/shadowed_text.h"
#include "fake_text_drawer.h"
#include "model/animation.h"

namespace anitrope {
namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;

BannerRequest Accepted(std::string text, int32_t frames) {
    BannerRequest request;
    request.text = std::move(text);
    request.frameCount = frames;
    request.textColor = kRed;
    request.accepted = true;
    return request;
}

std::vector<const Gif*> FramesOf(const Gif* head) {
    std::vector<const Gif*> frames;
    for (const Gif* gif = head; gif; gif = gif->next) frames.push_back(gif);
    return frames;
}

// The draws that fell on each frame, in frame order.
std::vector<std::vector<FakeTextDrawer::Call>> CallsPerFrame(const FakeTextDrawer& drawer,
                                                             const Gif* head) {
    std::map<const TrueColorBitmap*, std::size_t> index;
    for (const Gif* gif : FramesOf(head)) index[gif->trueColor.get()] = index.size();
    std::vector<std::vector<FakeTextDrawer::Call>> perFrame(index.size());
    for (const auto& call : drawer.calls) perFrame.at(index.at(call.target)).push_back(call);
    return perFrame;
}

bool OnlyColor(const TrueColorBitmap& bitmap, uint32_t color) {
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Get(x, y) != color) return false;
    return true;
}

// 140 x 80, 10 pixels a character, font 40 high unless said: dist = max(cx + 2s, cx + |sx| +
// s) + 140 with s = 8. "Hello": 50 + 17 + 140 = 207 = 9 x 23. "Banner": 60 + 17 + 140 = 217,
// not a multiple of 9, so the product-first x = 140 - 217i/9 ends at -77, not 140 - 9 x 24.
TEST(BannerFrames, TextPositionPerFrame) {
    // clang-format off
    struct Case { const char* text; int32_t frames, shadowX, yOffset, fontHeight;
                  std::vector<int32_t> xs; int32_t y; };
    const Case cases[] = {
        {"Hello", 1, 9, 0, 40, {45}, 20},
        {"Hello", 10, 9, 0, 40, {140, 117, 94, 71, 48, 25, 2, -21, -44, -67}, 20},
        {"Banner", 10, 9, 0, 40, {140, 116, 92, 68, 44, 20, -4, -28, -52, -77}, 20},
        // sx - s = -13 < 0: 13 further right; dist = 50 + 16 + 140 = 206.
        {"Hello", 1, -5, -7, 40, {58}, 13},
        {"Hello", 2, -5, 0, 40, {153, -53}, 20},
        // Wider than the image: left-aligned; (80 - 41) / 2 truncates to 19.
        {"ABCDEFGHIJKLMNOP", 1, 9, 0, 41, {0}, 19},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " x" + std::to_string(c.frames));
        Animation animation;
        FakeTextDrawer drawer;
        BannerRequest request = Accepted(c.text, c.frames);
        request.shadowXOffset = c.shadowX;
        request.textYOffset = c.yOffset;
        request.font.height = c.fontHeight;
        const Gif* head = GenerateBanner(animation, request, drawer);
        ASSERT_TRUE(head);
        EXPECT_EQ(request.status, BannerDone);
        EXPECT_EQ(head, request.frames.get());
        const auto perFrame = CallsPerFrame(drawer, head);
        ASSERT_EQ(perFrame.size(), c.xs.size());
        for (std::size_t i = 0; i < perFrame.size(); ++i) {
            const auto& text = perFrame[i].back();  // the text goes over its shadow
            EXPECT_EQ(text.color, kRed);
            EXPECT_EQ(text.x, c.xs[i]) << "frame " << i;
            EXPECT_EQ(text.y, c.y);
            // With the default shadow: 56 ring copies, the full shadow at (+9, +7), the text.
            ASSERT_EQ(perFrame[i].size(), 58u);
            EXPECT_EQ(perFrame[i][56].x, c.xs[i] + c.shadowX);
            EXPECT_EQ(perFrame[i][56].y, c.y + 7);
        }
    }
}

// Entering from the right, leaving on the left: the first and last frames show background
// only (shadow included), frames between show text; the step is one integer while the
// distance divides evenly, and the product-first division never lets it vary by more than 1.
TEST(BannerFrames, ScrollsFullyAcross) {
    struct Case { const char* text; int32_t shadowX; int32_t minStep, maxStep; };
    const Case cases[] = {{"Hello", 9, 23, 23}, {"Banner", 9, 24, 25}, {"Hello", -5, 22, 23}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + std::to_string(c.shadowX));
        Animation animation;
        FakeTextDrawer drawer;
        BannerRequest request = Accepted(c.text, 10);
        request.shadowXOffset = c.shadowX;
        const Gif* head = GenerateBanner(animation, request, drawer);
        ASSERT_TRUE(head);
        const auto frames = FramesOf(head);
        ASSERT_EQ(frames.size(), 10u);
        EXPECT_TRUE(OnlyColor(*frames.front()->trueColor, kWhite));
        EXPECT_TRUE(OnlyColor(*frames.back()->trueColor, kWhite));
        EXPECT_FALSE(OnlyColor(*frames[4]->trueColor, kWhite));
        EXPECT_EQ(frames[4]->trueColor->Get(frames[4]->trueColor->Width() - 1, 0), kWhite);
        const auto perFrame = CallsPerFrame(drawer, head);
        for (std::size_t i = 1; i < perFrame.size(); ++i) {
            const int32_t stepX = perFrame[i - 1].back().x - perFrame[i].back().x;
            EXPECT_GE(stepX, c.minStep);
            EXPECT_LE(stepX, c.maxStep);
        }
        // Pending true-colour frames of the banner's size, linked both ways.
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i]->indexedReady, 0);
            EXPECT_EQ(frames[i]->width, 140u);
            EXPECT_EQ(frames[i]->height, 80u);
            EXPECT_EQ(frames[i]->prev, i ? frames[i - 1] : nullptr);
        }
    }
}

// Hand-worked per channel with truncation toward zero. White over black at 14 %: F = 255 +
// 14 x -255 / 100 = 255 - 35 = 220; rings of t = 8: 255 + (9 - r) x -35 / 9 -> r 8: -3, 6:
// -11, 4: -19, 2: -27 (floor would give -4, -12, -20, -28).
TEST(SoftShadow, RingColours) {
    // clang-format off
    struct Case { uint32_t background, shadow; int32_t intensity, thickness, radius;
                  uint32_t full, ring; };
    const Case cases[] = {
        {0xFFFFFF, 0x000000, 14, 8, 8, 0xDCDCDC, 0xFCFCFC},
        {0xFFFFFF, 0x000000, 14, 8, 6, 0xDCDCDC, 0xF4F4F4},
        {0xFFFFFF, 0x000000, 14, 8, 4, 0xDCDCDC, 0xECECEC},
        {0xFFFFFF, 0x000000, 14, 8, 2, 0xDCDCDC, 0xE4E4E4},
        // Black under orange at 50 %: F = (127, 64, 0); t = 3: r 3 -> F / 4, r 1 -> 3F / 4.
        {0x000000, 0xFF8000, 50, 3, 3, 0x7F4000, 0x1F1000},
        {0x000000, 0xFF8000, 50, 3, 1, 0x7F4000, 0x5F3000},
        // Intensity clamped: above 100 is the shadow colour, below 0 the background; t = 1, r = 1
        // halves the way: (32 + 96 / 2, 64 + 32 / 2, 128 - 64 / 2).
        {0x204080, 0x806040, 150, 1, 1, 0x806040, 0x505060},
        {0x204080, 0x806040, -5, 1, 1, 0x204080, 0x204080},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.background << " " << c.shadow << " "
                                          << std::dec << c.intensity << " r" << c.radius);
        EXPECT_EQ(FullShadowColor(c.background, c.shadow, c.intensity), c.full);
        EXPECT_EQ(ShadowRingColor(c.background, c.full, c.thickness, c.radius), c.ring);
    }
    EXPECT_EQ(IntegerSquareRoot(60), 7);
    EXPECT_EQ(IntegerSquareRoot(64), 8);
    EXPECT_EQ(IntegerSquareRoot(-1), 0);
}

// Points on a ring: E = isqrt(r^2 - D^2) until D > E; four points on the axes, eight off them.
TEST(SoftShadow, RingPointsAndStyles) {
    TrueColorBitmap bitmap(200, 120);
    auto draw = [&](FakeTextDrawer& drawer, int32_t thickness, int32_t style) {
        TextCanvas canvas{&drawer, &bitmap, {0, 0, 200, 120}, {}};
        DrawShadowedText(canvas, "Hi", 100, 50, {9, 7, thickness, 14, style}, kRed, kWhite, 0);
    };
    FakeTextDrawer drawer;
    draw(drawer, 8, kBannerShadowStyle);
    // Ring 8, style 3: D 0 (E 8), D 2 (E 7), D 4 (E 6); D 6 has E 5 and ends it.
    const std::vector<std::pair<int32_t, int32_t>> ring8 = {
        {0, -8}, {8, 0}, {0, 8}, {-8, 0},
        {2, -7}, {7, -2}, {7, 2}, {2, 7}, {-2, 7}, {-7, 2}, {-7, -2}, {-2, -7},
        {4, -6}, {6, -4}, {6, 4}, {4, 6}, {-4, 6}, {-6, 4}, {-6, -4}, {-4, -6}};
    ASSERT_EQ(drawer.calls.size(), 58u);  // rings 8, 6, 4, 2: 20 + 20 + 12 + 4, then F, text
    for (std::size_t i = 0; i < ring8.size(); ++i) {
        EXPECT_EQ(drawer.calls[i].x, 109 + ring8[i].first) << i;
        EXPECT_EQ(drawer.calls[i].y, 57 + ring8[i].second) << i;
    }
    const std::pair<std::size_t, uint32_t> colourFrom[] = {
        {0, 0xFCFCFC}, {20, 0xF4F4F4}, {40, 0xECECEC}, {52, 0xE4E4E4}, {56, 0xDCDCDC}};
    for (std::size_t i = 0; i < 56; ++i) {
        uint32_t expected = 0;
        for (const auto& [first, colour] : colourFrom)
            if (i >= first) expected = colour;
        EXPECT_EQ(drawer.calls[i].color, expected) << i;
    }
    EXPECT_EQ(drawer.calls[56].color, 0xDCDCDCu);
    EXPECT_EQ(drawer.calls[57].x, 100);
    EXPECT_EQ(drawer.calls[57].color, kRed);

    // Style 4, t 3: r 3 (D 0, 1 with E 2, 2 with E 2) 20, r 2 (D 0, 1) 12, r 1: 4. Style 3,
    // t 3: r 3 (D 0, 2) 12, r 1: 4. Style 3, t 1: 4. No thickness: the two copies only.
    struct Case { int32_t thickness, style; std::size_t calls; };
    const Case counts[] = {{3, kAboutShadowStyle, 38}, {3, kBannerShadowStyle, 18},
                           {1, kBannerShadowStyle, 6}, {1, kAboutShadowStyle, 6},
                           {0, kBannerShadowStyle, 2}, {-4, kAboutShadowStyle, 2}};
    for (const Case& c : counts) {
        FakeTextDrawer counted;
        draw(counted, c.thickness, c.style);
        EXPECT_EQ(counted.calls.size(), c.calls) << c.thickness << " style " << c.style;
    }
    // Style 4, t 3, ring 3 at D 2: E = isqrt(5) = 2, the eight points of the diagonal pairs.
    FakeTextDrawer fine;
    draw(fine, 3, kAboutShadowStyle);
    EXPECT_EQ(fine.calls[12].x - 109, 2);
    EXPECT_EQ(fine.calls[12].y - 57, -2);
    EXPECT_EQ(fine.calls[19].x - 109, -2);

    // Nothing for an empty text or a canvas without a drawer.
    FakeTextDrawer idle;
    TextCanvas canvas{&idle, &bitmap, {0, 0, 200, 120}, {}};
    DrawShadowedText(canvas, "", 0, 0, {9, 7, 8, 14, 3}, kRed, kWhite, 0);
    TextCanvas noDrawer{nullptr, &bitmap, {0, 0, 200, 120}, {}};
    DrawShadowedText(noDrawer, "Hi", 0, 0, {9, 7, 8, 14, 3}, kRed, kWhite, 0);
    EXPECT_TRUE(idle.calls.empty());
}

// No shadow (switched off, or at intensity 0): one copy at the offset in the background
// colour, then the text; the frames hold nothing but those two colours.
TEST(BannerFrames, ShadowDisabled) {
    for (const auto& [enabled, intensity] : {std::pair{0, 14}, std::pair{1, 0}}) {
        Animation animation;
        FakeTextDrawer drawer;
        BannerRequest request = Accepted("Hello", 10);
        request.shadowEnabled = enabled;
        request.shadowIntensity = intensity;
        request.backgroundColor = 0x336699;
        const Gif* head = GenerateBanner(animation, request, drawer);
        ASSERT_TRUE(head);
        for (const auto& calls : CallsPerFrame(drawer, head)) {
            ASSERT_EQ(calls.size(), 2u);
            EXPECT_EQ(calls[0].x, calls[1].x + 9);
            EXPECT_EQ(calls[0].y, calls[1].y + 7);
            EXPECT_EQ(calls[0].color, 0x336699u);
            EXPECT_EQ(calls[1].color, kRed);
        }
        for (const Gif* gif : FramesOf(head))
            for (int32_t y = 0; y < 80; ++y)
                for (int32_t x = 0; x < 140; ++x) {
                    const uint32_t pixel = gif->trueColor->Get(x, y);
                    ASSERT_TRUE(pixel == 0x336699 || pixel == kRed) << x << "," << y;
                }
    }
}

// A drawer that paints the same wherever the text goes gets the shadowed text drawn once and
// copied into each frame: the frames are exactly those drawn frame by frame.
TEST(BannerFrames, OneDrawingCopiedEqualsDrawingEachFrame) {
    struct Case { const char* text; int32_t shadowX, shadowY, thickness, enabled, border, frames; };
    const Case cases[] = {
        {"Hello", 9, 7, 8, 1, 0, 10},  {"Hello", -5, -12, 8, 1, 1, 7},
        {"Hello", 9, 7, 20, 0, 0, 4},  {"ABCDEFGHIJKLMNOPQRSTUV", 3, 30, 5, 1, 1, 6},
        {"", 9, 7, 8, 1, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " dx " + std::to_string(c.shadowX));
        auto make = [&c] {
            BannerRequest request = Accepted(c.text, c.frames);
            request.shadowXOffset = c.shadowX;
            request.shadowYOffset = c.shadowY;
            request.shadowThickness = c.thickness;
            request.shadowEnabled = c.enabled;
            request.shadowColor = 0x0000FF;
            request.drawBorder = c.border;
            return request;
        };
        BannerRequest request = make();
        BannerRequest copied = make();
        Animation animation;
        FakeTextDrawer each;
        FakeTextDrawer once;
        once.sameEverywhere = true;
        const auto drawn = FramesOf(GenerateBanner(animation, request, each));
        const auto stamped = FramesOf(GenerateBanner(animation, copied, once));
        ASSERT_EQ(drawn.size(), static_cast<std::size_t>(c.frames));
        ASSERT_EQ(stamped.size(), drawn.size());
        EXPECT_LT(once.calls.size() * 2, each.calls.size() + 2) << "drawn once, not per frame";
        for (std::size_t i = 0; i < drawn.size(); ++i)
            for (int32_t y = 0; y < 80; ++y)
                for (int32_t x = 0; x < 140; ++x)
                    ASSERT_EQ(stamped[i]->trueColor->Get(x, y), drawn[i]->trueColor->Get(x, y))
                        << "frame " << i << " at " << x << "," << y;
    }
}

// The sunken edge takes two pixels on each side, and the text is cut to what lies inside.
TEST(BannerFrames, BorderClipsText) {
    Animation animation;
    FakeTextDrawer drawer;
    BannerRequest request = Accepted("Hello", 1);
    request.drawBorder = 1;
    request.shadowEnabled = 0;
    request.textYOffset = -30;  // y = -30 + 20 = -10: the box covers rows -10 ... 29
    const Gif* head = GenerateBanner(animation, request, drawer);
    ASSERT_TRUE(head);
    const TrueColorBitmap& frame = *head->trueColor;
    struct Probe { int32_t x, y; uint32_t color; };
    const Probe probes[] = {
        {0, 0, 0x808080},   {1, 1, 0x404040},   {139, 79, 0xFFFFFF}, {138, 78, 0xC0C0C0},
        {0, 40, 0x808080},  {139, 40, 0xFFFFFF}, {2, 40, kWhite},    {60, 0, 0x808080},
        {60, 1, 0x404040},  {60, 2, kRed},       {60, 29, kRed},     {60, 30, kWhite},
        {44, 10, kWhite},   {45, 10, kRed},      {94, 10, kRed},     {95, 10, kWhite}};
    for (const Probe& p : probes)
        EXPECT_EQ(frame.Get(p.x, p.y), p.color) << p.x << "," << p.y;

    // Without text: background and border only.
    FakeTextDrawer empty;
    BannerRequest blank = Accepted("", 3);
    blank.drawBorder = 1;
    ASSERT_TRUE(GenerateBanner(animation, blank, empty));
    EXPECT_TRUE(empty.calls.empty());
    EXPECT_EQ(blank.frames->trueColor->Get(70, 40), kWhite);
    EXPECT_EQ(blank.frames->next->trueColor->Get(1, 1), 0x404040u);
}

// Refusals come before any frame is made or any text measured, and say why.
TEST(BannerRequests, Refusals) {
    // clang-format off
    struct Case { const char* name; int32_t frames, width, height, fontHeight; std::size_t textLength;
                  BannerStatus status; std::string failure; };
    const Case cases[] = {
        {"2 GB", 1000, 2048, 2048, 40, 5, BannerTooLarge,
         "1000 frames of 2048 x 2048 pixels need more than the 2048 MB a banner may take"},
        {"frames", 0, 140, 80, 40, 5, BannerOutOfRange,
         "The 'Nr. of Frames' value must be in the range from 1 to 1000"},
        {"width", 10, 3000, 80, 40, 5, BannerOutOfRange,
         "The 'Image Width' value must be in the range from 1 to 2048"},
        {"font", 10, 140, 80, -401, 5, BannerOutOfRange,
         "The 'Font Height' value must be in the range from -400 to 400"},
        {"text", 10, 140, 80, 40, 2049, BannerOutOfRange,
         "The banner text is longer than 2048 characters"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Animation animation;
        FakeTextDrawer drawer;
        BannerRequest request = Accepted(std::string(c.textLength, 'x'), c.frames);
        request.imageWidth = c.width;
        request.imageHeight = c.height;
        request.font.height = c.fontHeight;
        EXPECT_FALSE(GenerateBanner(animation, request, drawer));
        EXPECT_EQ(request.status, c.status);
        EXPECT_EQ(request.failure, c.failure);
        EXPECT_FALSE(request.usable);
        EXPECT_FALSE(request.frames);
        EXPECT_EQ(drawer.measures, 0);
    }
    // 2 GiB / (2048 x 2048 x 5 bytes) = 102.4 frames.
    EXPECT_TRUE(BannerFits(2048, 2048, 102));
    EXPECT_FALSE(BannerFits(2048, 2048, 103));
    EXPECT_FALSE(BannerFits(-1, 80, 1));

    // 2048 characters of two bytes each are within the limit.
    Animation animation;
    FakeTextDrawer drawer;
    std::string umlauts;
    for (int i = 0; i < 2048; ++i) umlauts += "\xC3\xBC";
    BannerRequest wide = Accepted(umlauts, 1);
    EXPECT_TRUE(GenerateBanner(animation, wide, drawer));

    // Not accepted or not usable: nothing happens, and usable is left as it was.
    BannerRequest cancelled = Accepted("Hello", 10);
    cancelled.accepted = false;
    EXPECT_FALSE(GenerateBanner(animation, cancelled, drawer));
    EXPECT_TRUE(cancelled.usable);
    EXPECT_EQ(cancelled.status, BannerNotRequested);

    // Stopped at the third step (after making the frames and drawing one): nothing is kept.
    int steps = 0;
    BannerRequest stopped = Accepted("Hello", 10);
    EXPECT_FALSE(GenerateBanner(animation, stopped, drawer, [&] { return ++steps < 3; }));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(stopped.status, BannerStopped);
    EXPECT_FALSE(stopped.usable);
    EXPECT_FALSE(stopped.frames);
}

// The dialog's checks in its order, each corrected to the bound it crossed; the request then
// takes the settings, which start from the dialog's defaults.
TEST(BannerRequests, RangesAndSettings) {
    BannerSettings settings;
    EXPECT_FALSE(FirstOutOfRange(settings));
    settings.imageWidth = 3000;
    settings.frameCount = 0;
    settings.shadowThickness = 21;
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"Shadow Thickness", 20}, {"Nr. of Frames", 1}, {"Image Width", 2048}};
    for (const auto& [label, bound] : expected) {
        const auto failure = FirstOutOfRange(settings);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->label, label);
        EXPECT_EQ(failure->bound, bound);
        CorrectToBound(settings, *failure);
    }
    EXPECT_FALSE(FirstOutOfRange(settings));
    EXPECT_EQ(settings.imageWidth, 2048);
    EXPECT_EQ(ClampFontHeight(450), 400);
    EXPECT_EQ(ClampFontHeight(-999), -400);
    EXPECT_EQ(ClampFontHeight(-12), -12);

    BannerRequest request;
    settings.text = "Hi";
    settings.shadowColor = 0x123456;
    CopySettings(settings, request);
    EXPECT_EQ(request.text, "Hi");
    EXPECT_EQ(request.imageWidth, 2048);
    EXPECT_EQ(request.shadowColor, 0x123456u);
    EXPECT_EQ(request.font, FontDescription{});
    EXPECT_EQ(request.font.height, 40);
    EXPECT_EQ(request.font.weight, 700);
    EXPECT_EQ(request.font.family, FontFamily::Swiss);
}

}  // namespace
}  // namespace anitrope
