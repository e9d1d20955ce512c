#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"

namespace anitrope {
namespace {

// Frames at the edges of the counts, as patterns: equal letters, equal pictures; empty, none.
// Any number of threads paints the same, and a stopped run leaves nothing behind.
TEST(BlendAndConvolution, FrameSequences) {
    // Taller than one block of rows, so that a frame's rows are shared out too.
    ImagePair tall(8, 40, MixedColours(0), MixedColours(1), 5, -1);
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong; std::string pattern; };
    const Case cases[] = {
        {"Fade Out", true, 4, 1, "ABBA"}, {"Fade", false, 5, 1, "ABCBA"},
        {"Fade Out", true, 1, 1, ""}, {"Fade Out", true, 1, 0, "A"}, {"Fade", false, 1, 0, ""},
        {"Invert", true, 1, 1, "A"},
        {"Overblend", false, 4, 1, "ABBA"}, {"Color Blending Out", true, 5, 1, "ABCBA"},
        {"Color Blending", false, 4, 1, "ABBA"}, {"Blur", true, 4, 1, "ABCD"},
        {"Blur", false, 1, 0, ""}, {"Emboss", false, 3, 1, "ABC"}, {"Emboss", true, 0, 0, ""}};
    // clang-format on
    JobScheduler pool(2);
    EffectParams params{.value1 = 20, .value2 = 128, .check1 = 1, .check2 = 1, .colorIndex = 3};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames) + " " +
                     std::to_string(c.pingPong));
        params.frameCount = c.frames;
        params.pingPong = c.pingPong;
        ExpectSequence(c.name, params, *tall.one, c.effect ? nullptr : tall.two, pool, c.pattern);
    }
    EXPECT_FALSE(tall.one->trueColor);  // read, never converted
}

// Three pixels: opaque in both images, transparent in image 1, transparent in image 2. Image
// 1's colour slot 2 is C = (200, 0, 0).
TEST(BlendEffects, FadeInvertOverblend) {
    Animation doc;
    Gif* one = Frame(doc, 3, 1, {0x0A1464, 0x112233, 0xC80000}, 1);
    Gif* two = Frame(doc, 3, 1, {0x6E0A00, 0x445566, 0x00FF00}, 2);
    // X1 + (X2 - X1) k / 4 from (10, 20, 100) to (110, 10, 0): green 20 - 10 / 4 truncates
    // toward zero to 18, 20 - 30 / 4 to 13. A transparent pixel shows the other image's.
    const Frames fade = Made("Fade", {.frameCount = 3}, *one, two);
    ASSERT_EQ(fade.size(), 3u);
    EXPECT_EQ(fade[0], (std::vector<uint32_t>{0x23124B, 0x445566, 0xC80000}));
    EXPECT_EQ(fade[2], (std::vector<uint32_t>{0x550D19, 0x445566, 0xC80000}));
    // Fade Out: toward C over 4 steps; image 1's transparent pixel is C throughout.
    const Frames out = Made("Fade Out", {.frameCount = 4, .colorIndex = 2}, *one);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], (std::vector<uint32_t>{0x390F4B, 0xC80000, 0xC80000}));
    EXPECT_EQ(out[3], std::vector<uint32_t>(3, 0xC80000));
    // Invert, h = 1: (C + P) / 2, then C, then the negative; transparent pixels stay.
    EXPECT_EQ(Made("Invert", {.frameCount = 3, .colorIndex = 2}, *one),
              (Frames{{0x690A32, 0x112233 | T, 0xC80000},
                      {0xC80000, 0x112233 | T, 0xC80000},
                      {0xF5EB9B, 0x112233 | T, 0x37FFFF}}));
    // Overblend, h = 2, m = 3: frame 0 (C + 2 P1) / 3, frame 2 (2 C + P2) / 3.
    const Frames over = Made("Overblend", {.frameCount = 4, .colorIndex = 2}, *one, two);
    ASSERT_EQ(over.size(), 4u);
    EXPECT_EQ(over[0][0], 0x490D42u);
    EXPECT_EQ(over[2][0], 0xAA0300u);
    EXPECT_EQ(over[3][2], 0x00FF00 | T);
    EXPECT_EQ(Made("Overblend", {.frameCount = 1, .colorIndex = 2}, *one, two),
              (Frames{{0xC80000, 0xC80000, 0x00FF00 | T}}));
}

// Image 1's opaque brightnesses 48, 192, 384, 576 (its transparent 765 counts for nothing):
// lo = 47, T = 577 - 47 = 530. Image 2's are the same values in another order.
TEST(BlendEffects, ColorBlendingFollowsBrightness) {
    Animation doc;
    Gif* one = Frame(doc, 5, 1, {0x101010, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x123456}, 4);
    Gif* two = Frame(doc, 5, 1, {0xFF8100, 0x300000, 0xFFFF42, 0x00C000, 0x00FF00}, 4);
    // Effect over 3 frames: levels 47 + 530 (i + 1) / 3 = 223, 400, 577 with Dark to Light
    // (pixels at or above show), 400, 223, 47 without (at or below show); the rest is slot 5.
    EXPECT_EQ(Made("Color Blending Out", {.frameCount = 3, .check1 = 1, .colorIndex = 5}, *one),
              (Frames{{5, 5, 2, 3, 5}, {5, 5, 5, 3, 5}, {5, 5, 5, 5, 5}}));
    EXPECT_EQ(Made("Color Blending Out", {.frameCount = 3, .colorIndex = 5}, *one),
              (Frames{{0, 1, 2, 5, 5}, {0, 1, 5, 5, 5}, {5, 5, 5, 5, 5}}));
    // Transition over 2 frames: levels 47 + 530 (i + 1) / 3 = 223, 400. Blend Out: image 1 on
    // top where at or above; else image 2 on top where at or below. Transparent tops never show.
    EXPECT_EQ(Made("Color Blending", {.frameCount = 2, .check1 = 1, .check2 = 1}, *one, two),
              (Frames{{0xFF8100, 0x300000, 0x808080, 0xC0C0C0, 0x00FF00 | T},
                      {0xFF8100, 0x300000, 0xFFFF42, 0xC0C0C0, 0x00FF00 | T}}));
    EXPECT_EQ(Made("Color Blending", {.frameCount = 2, .check1 = 1}, *one, two),
              (Frames{{0x101010, 0x300000, 0x808080, 0x00C000, 0xFFFFFF | T},
                      {0xFF8100, 0x300000, 0x808080, 0x00C000, 0xFFFFFF | T}}));
    // The effect's frames keep image 1's colours where it uses the global palette; indices
    // awaiting their reduction are not its picture yet.
    doc.globalPalette = std::exchange(one->palette, EmptyPalette());
    one->usesLocalPalette = 0;
    const FrameChain global = RunNamed("Color Blending Out", {.frameCount = 1}, *one, nullptr);
    ASSERT_TRUE(global);
    EXPECT_EQ(EffectivePalette(*global), doc.globalPalette);
    SetIndexedReady(*one, 0);
    EXPECT_TRUE(Made("Color Blending Out", {.frameCount = 1}, *one).empty());
}

TEST(ConvolutionEffects, KernelWeights) {
    Animation doc;
    // Strength 20: centre 0.2, edges 0.75 x 0.8 / 4 = 0.15, corners 0.05. On white a corner
    // keeps 0.2 + 2 x 0.15 + 0.05 = 0.55 of 255 (140.25), an edge 0.75 (191.25).
    const Frames white =
        Made("Blur", {.frameCount = 1, .value1 = 20}, *Frame(doc, 4, 3, {0xFFFFFF}));
    ASSERT_EQ(white.size(), 1u);
    EXPECT_EQ(white[0][0], 0x8C8C8Cu);
    EXPECT_EQ(white[0][1], 0xBFBFBFu);
    // Strength 0 spreads a lone 160 as 3/16 (30) to edge neighbours and 1/16 (10) to corners.
    const uint32_t e = 0x1E1E1E, c = 0x0A0A0A;
    EXPECT_EQ(
        Made("Blur", {.frameCount = 1}, *Frame(doc, 3, 3, {0, 0, 0, 0, 0xA0A0A0, 0, 0, 0, 0})),
        (Frames{{c, e, c, e, 0, e, c, e, c}}));
    // Emboss 20, bias 128 on 100 grey: +20 from down-right, -20 from up-left, where inside.
    const uint32_t up = 0x949494, mid = 0x808080, down = 0x6C6C6C;
    EXPECT_EQ(Made("Emboss", {.frameCount = 1, .value1 = 20, .value2 = 128},
                   *Frame(doc, 3, 3, {0x646464})),
              (Frames{{up, up, mid, up, mid, down, mid, down, down}}));
    // Emboss 50, bias 0: half of the down-right pixel; minus half of the up-left clamps to 0.
    // The transparent pixel keeps its colour and bit.
    EXPECT_EQ(Made("Emboss", {.frameCount = 1, .value1 = 50},
                   *Frame(doc, 2, 2, {0x804020, 0x555555, 0, 0x102040}, 1)),
              (Frames{{0x081020, 0x555555 | T, 0, 0}}));
}

// Strength 100 leaves pictures as they are, so only the meeting of the chains shows: A' = B/4
// + 3A/4, B' = A/4 + 3B/4 per channel, the middle (A + B) / 2, all opaque.
TEST(ConvolutionEffects, TransitionChainsMeet) {
    Animation doc;
    Gif* one = Frame(doc, 2, 1, {0x0A1464, 0x112233}, 1);
    Gif* two = Frame(doc, 2, 1, {0x6E0A00, 0x445566});
    EXPECT_EQ(Made("Blur", {.frameCount = 3, .value1 = 100}, *one, two),
              (Frames{{0x22114B, 0x1D2E3F}, {0x3C0F32, 0x2A3B4C}, {0x540C19, 0x374758}}));
    // Four frames mix twice: A1', then A2' = B1'/4 + 3 A1'/4, B2', and B1' last.
    const Frames four = Made("Blur", {.frameCount = 4, .value1 = 100}, *one, two);
    ASSERT_EQ(four.size(), 4u);
    EXPECT_EQ(four[0][0], 0x22114Bu);
    EXPECT_EQ(four[1][0], 0x2E0F3Eu);
    EXPECT_EQ(four[3][0], 0x540C19u);
}

TEST(BlendAndConvolution, ValidateRefusesOutOfRange) {
    const std::string strength = "Valid values for Strength : 0-100",
                      bias = "Valid values for Bias : 0-255",
                      twoFrames = "At least two frames are required for this transition !";
    // clang-format off
    struct Case { const char* name; bool effect; const char *value1, *value2; int32_t frames;
                  std::string message; int field; };
    const Case cases[] = {  // an empty message: accepted
        {"Blur", true, "101", "", 10, strength, 1}, {"Blur", false, "-1", "", 1, strength, 1},
        {"Blur", false, "100", "", 1, twoFrames, kFrameCountField},
        {"Blur", true, "0", "", 1, "", 0},
        {"Emboss", false, "101", "-1", 1, strength, 1}, {"Emboss", true, "20", "256", 10, bias, 2},
        {"Emboss", false, "100", "0", 2, "", 0},
        {"Fade", false, "", "", 1, twoFrames, kFrameCountField},
        {"Fade Out", true, "", "", 1, "", 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.value1 + " " + c.value2);
        SlotRecord slots;
        slots.frameCount = c.frames;
        const EffectEntry& entry = InitEntry(slots, c.effect, c.name);
        slots.ValueSlot(1).text = c.value1;
        slots.ValueSlot(2).text = c.value2;
        ExpectRefusal(entry, slots, SetupMode::Validate, c.message, c.field);
    }
}

}  // namespace
}  // namespace anitrope
