#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"
#include "effects/effect_families.h"

namespace anitrope {
namespace {

// Image 1's pixel k (row by row, 4 x 3) is index k, colour 0xA00000 + k, drawn 'a' + k; image
// 2's is 0xB00000 + k, drawn 'A' + k. Index 5 ('f') is transparent in image 1, index 2 ('C') in
// image 2. '.' is the background: image 1's slot 20.
constexpr int32_t kSlot = 20;
using KeepColorArray = std::array<int32_t, kKeepColorSlots>;

struct Images : LetterImages {
    explicit Images(uint32_t w = 4, uint32_t h = 3)
        : LetterImages({.w = w, .h = h, .slot = kSlot, .clearOne = 5, .clearTwo = 2}) {}
};

// Shifts worked out from A = round(theta F' / R sin theta), theta = T -/+ h pi clamped to [0, R].
TEST(WaveFlag, WaveFrames) {
    Images images;
    using Rows = std::vector<std::string>;
    const Rows blank{"....", "....", "...."};
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong, halfWaves, upToDown,
                  leftSide, out; std::vector<std::pair<int, Rows>> expected; std::size_t count; };
    const Case cases[] = {
        // One frame: l = 1, T = R + pi, every row at theta = R, A = F: only the colour.
        {"Wave Out", true, 1, 0, 3, 1, 1, 0, {{0, blank}}, 1},
        // b = 0, F = F' = 4, R = 90 deg, h = (j + 1) / 3. Frame 0: T = 135 deg; theta 75, 15, 0
        // deg give A = 3.22, 0.17, 0 -> 3, 0, 0; 'f' lets the colour through. Frame 1: T = 270
        // deg, every row at R, A = 4. Check 3 is moot for the effect.
        {"Wave Out", true, 2, 0, 0, 1, 0, 0,
         {{0, {"...a", "e.gh", "ijkl"}}, {1, blank}}, 2},
        // Out over image 2: b = 1, F = -4, F' = 4, R = 270 deg, l = (i + 1) / 3, h = (3 - j) / 4.
        // Frame 0: T = 150 deg; theta 15, 60, 105 deg give A = 0.06, 0.77, 1.50 -> 0, 1, 2.
        // Frame 1: T = 300 deg; theta 165, 210, 255 deg give 0.63, -1.56, -3.65 -> 1, -2, -4.
        // 'f' keeps image 2's 'G'; image 2's 'C' stays transparent.
        {"Wave", false, 2, 0, 1, 0, 1, 1,
         {{0, {"abcd", "EeGg", "IJij"}}, {1, {"Aabc", "ghGH", "IJKL"}}}, 2},
        // In: image 2 over image 1, b = 0, F = F' = -4, l = (2 - i) / 3, h = (j + 1) / 4.
        // Frame 0: T = 180 deg; theta 45, 90, 135 -> 90 deg give -1.41, -4, -4 -> -1, -4, -4.
        // Frame 1: T = 90 deg; theta -45 -> 0, 0, 45 deg give 0, 0, -1. 'C' keeps image 1.
        {"Wave", false, 2, 0, 0, 1, 1, 0,
         {{0, {"BbDd", "efgh", "ijkl"}}, {1, {"ABcD", "EFGH", "JKLl"}}}, 2},
    };
    // clang-format on
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames) + " b " +
                     std::to_string(c.halfWaves));
        // clang-format off
        const EffectParams params{.frameCount = c.frames, .pingPong = c.pingPong,
                                  .value1 = c.halfWaves, .check1 = c.upToDown,
                                  .check2 = c.leftSide, .check3 = c.out, .colorIndex = kSlot};
        // clang-format on
        const Gif* second = c.effect ? nullptr : images.two;
        const Frames made = Made(c.name, params, *images.one, second);
        images.ExpectFrames(made, c.count, c.expected, c.effect);
        EXPECT_EQ(Pictures(RunNamed(c.name, params, *images.one, second, &pool)), made);
    }
}

// Image 4 x 8 whose row y has index y, coloured 0x100000 (y + 1); pixel (1, 5) is transparent
// (index 9). The background is slot 20, 0x404040.
struct FlagImage {
    Animation doc;
    Gif* gif;
    FlagImage() {
        std::vector<uint32_t> colours(256, 0x0A0A0A);
        for (uint32_t y = 0; y < 8; ++y) colours[y] = 0x100000 * (y + 1);
        colours[20] = 0x404040;
        gif = Frame(doc, 4, 8, colours, 9);
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 4; ++x)
                gif->indexed->Set(x, y, static_cast<uint8_t>(x == 1 && y == 5 ? 9 : y));
    }
};

// Amplitude 13 %: a = 1, the copy squeezed to 6 rows. Shrinking by 0.75 takes rows 1, 2, 3, 5,
// 6, 7 (boxes of one row, each to row trunc(0.75 y), the later one staying), so the copy's rows
// are 0x200000, 0x300000, 0x400000, 0x600000 (transparent at x = 1), 0x700000, 0x800000. Two
// half-waves over 2 frames: off = trunc(1 - sin(x pi / 2 + k pi)) is 1, 0, 0, 1 for frame 0 and
// 0, 1, 1, 0 for frame 1; rows 0-4 of the copy go to off ... off + 4, the rest is 0x404040.
TEST(WaveFlag, FlagFrames) {
    FlagImage image;
    // Codes 0-6 for the colour and the copy's rows in order, 7 for the transparent pixel.
    const uint32_t shade[] = {0x404040, 0x200000, 0x300000, 0x400000, 0x600000, 0x700000, 0, T};
    // clang-format off
    const std::vector<std::vector<int>> codes{
        {0, 1, 1, 0,  1, 2, 2, 1,  2, 3, 3, 2,  3, 7, 4, 3,  4, 5, 5, 4,  5, 0, 0, 5,
         0, 0, 0, 0,  0, 0, 0, 0},
        {1, 0, 0, 1,  2, 1, 1, 2,  3, 2, 2, 3,  4, 3, 3, 4,  5, 7, 4, 5,  0, 5, 5, 0,
         0, 0, 0, 0,  0, 0, 0, 0}};
    // clang-format on
    Frames expected;
    for (const auto& frame : codes) {
        expected.emplace_back();
        for (int code : frame) expected.back().push_back(shade[code]);
    }
    const EffectParams params{.frameCount = 2, .value1 = 2, .value2 = 13, .colorIndex = 20};
    image.gif->keepColors = {0x0C0C0C, -1, -1, -1, -1};
    const FrameChain chain = RunNamed("Flag", params, *image.gif, nullptr);
    EXPECT_EQ(Pictures(chain), expected);
    // The colour is kept through the reduction that follows.
    for (Gif* frame : ChainFrames(chain.get()))
        EXPECT_EQ(frame->keepColors, (KeepColorArray{0x0C0C0C, 0x404040, -1, -1, -1}));
    JobScheduler pool(2);
    EXPECT_EQ(Pictures(RunNamed("Flag", params, *image.gif, nullptr, &pool)), expected);
    // A stop is not honoured: the flag runs to its end.
    EXPECT_EQ(Pictures(RunNamed("Flag", params, *image.gif, nullptr, &pool, true)), expected);

    // Amplitude 0, previewed: the image without its last row, which shows the colour; nothing
    // kept, since nothing is reduced.
    const EffectParams flat{.frameCount = 3, .value1 = 3, .colorIndex = 20, .preview = 1};
    const FrameChain still = RunNamed("Flag", flat, *image.gif, nullptr);
    const Frames pictures = Pictures(still);
    ASSERT_EQ(pictures.size(), 3u);
    for (const std::vector<uint32_t>& frame : pictures)
        for (std::size_t k = 0; k < frame.size(); ++k)
            EXPECT_EQ(frame[k], k >= 28 ? 0x404040 : k == 21 ? T : 0x100000 * (k / 4 + 1)) << k;
    EXPECT_EQ(still->keepColors[1], -1);
    // The flag is no transition.
    Images pair;
    EffectProgress progress;
    EXPECT_FALSE(ComputeFlag(pair.one, pair.two, params, progress));
}

// PingPong shapes, the same frames from any number of threads, nothing after a stop, and
// frames one pixel wide or high. Tall frames, so that rows are shared out too.
TEST(WaveFlag, SequencesAndOddSizes) {
    ImagePair tall(8, 40, SaltedColours(0), SaltedColours(1), 7, 9);
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong; std::string pattern; };
    const Case cases[] = {
        {"Wave Out", true, 4, 1, "ABBA"}, {"Wave Out", true, 5, 1, "ABCBA"},
        {"Wave Out", true, 0, 0, ""}, {"Wave", false, 4, 1, "ABBA"}, {"Wave", false, 3, 0, "ABC"},
        {"Flag", true, 3, 0, "ABC"}, {"Flag", true, 0, 0, ""}};
    // clang-format on
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames));
        const EffectParams params{.frameCount = c.frames,
                                  .pingPong = c.pingPong,
                                  .value1 = 3,
                                  .value2 = 10,
                                  .check1 = 1,
                                  .check3 = 1,
                                  .colorIndex = 3};
        // The flag runs to its end whatever a stop says.
        ExpectSequence(c.name, params, *tall.one, c.effect ? nullptr : tall.two, pool, c.pattern,
                       std::string(c.name) != "Flag");
    }
    EXPECT_FALSE(tall.one->trueColor);  // read, never converted

    // One pixel wide or high: every Wave pixel is the colour or one of the same row's pixels;
    // amplitude 49 % leaves the flag one row, the one it drops, so it is all colour.
    for (const auto& [w, h] : {std::pair{1u, 1u}, std::pair{1u, 7u}, std::pair{7u, 1u}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Images small(w, h);
        const EffectParams params{.frameCount = 4,
                                  .value1 = 0,
                                  .value2 = 49,
                                  .check1 = 1,
                                  .check2 = 1,
                                  .check3 = 0,
                                  .colorIndex = kSlot};
        for (const std::string name : {"Wave Out", "Wave", "Flag"}) {
            const bool effect = name != "Wave";
            const Frames made =
                Made(name.c_str(), params, *small.one, effect ? nullptr : small.two);
            ASSERT_EQ(made.size(), 4u) << name;
            for (const std::vector<uint32_t>& frame : made)
                for (std::size_t k = 0; k < frame.size(); ++k) {
                    bool known =
                        name == "Flag" ? frame[k] == 0xC0C0C0 : effect && frame[k] == kSlot;
                    for (std::size_t x = k / w * w; name != "Flag" && x < k / w * w + w; ++x)
                        known = known ||
                                frame[k] == (effect ? x : (0xA00000 + x) | (x == 5 ? T : 0)) ||
                                (!effect && frame[k] == ((0xB00000 + x) | (x == 2 ? T : 0)));
                    EXPECT_TRUE(known) << name << " " << k << " " << frame[k];
                }
        }
    }
}

// Every refusal once, with its field; Validate accepts what is in range.
TEST(WaveFlag, Setup) {
    const std::string halfWaves = "The 'Nr. Halfwaves' must be greater or equal to 0.",
                      below = "Amplitude must be > 0", above = "Amplitude must be smaller than 50%",
                      width = "Number of HalfWaves must be smaller than ImageWidht(=8)";
    // clang-format off
    struct Case { const char* name; bool effect; const char* value1; const char* value2;
                  std::string message; int field; };
    const Case cases[] = {  // an empty message: accepted
        {"Wave Out", true, "-1", "", halfWaves, 1}, {"Wave", false, "-3", "", halfWaves, 1},
        {"Wave", false, "0", "", "", 0},
        {"Flag", true, "4", "-1", below, 2}, {"Flag", true, "8", "50", above, 2},
        {"Flag", true, "8", "49", width, 1}, {"Flag", true, "-1", "0", width, 1},
        {"Flag", true, "7", "49", "", 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.value1 + " " + c.value2);
        SlotRecord slots;
        slots.imageWidth = 8;
        slots.imageHeight = 6;
        const EffectEntry& entry = InitEntry(slots, c.effect, c.name);
        slots.ValueSlot(1).text = c.value1;
        slots.ValueSlot(2).text = c.value2;
        ExpectRefusal(entry, slots, SetupMode::Validate, c.message, c.field);
    }
}

}  // namespace
}  // namespace anitrope
