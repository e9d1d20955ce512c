#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"
#include "effects/effect_random.h"

namespace anitrope {
namespace {

// Image 1's pixel k (row by row) is 0x100000 + k, transparent at index 45; image 2's is
// 0x200000 + k, transparent at index 9. Every pixel tells where it came from.
constexpr uint32_t kClearOne = 45, kClearTwo = 9;
constexpr int32_t kColor = 200;
constexpr uint32_t kColorIndex = kColor;  // as the frames hold it

struct Pair : ImagePair {
    Pair(uint32_t w, uint32_t h)
        : ImagePair(w, h, Shades(0x100000), Shades(0x200000), kClearOne, kClearTwo) {}
};

// A picture drawn one character per pixel, row by row: '1' image 1's pixel, '2' image 2's;
// for the effects, which paint indices, 'i' image 1's index and 'c' the colour's index.
std::vector<uint32_t> Drawn(std::initializer_list<const char*> rows) {
    std::string all;
    for (const char* row : rows) all += row;
    return SourcesDrawn(all, kClearOne, kClearTwo, kColorIndex);
}

// The same row six times over, for pictures in bands.
std::vector<uint32_t> Rows(const char* r0, const char* r1, const char* r2, const char* r3,
                           const char* r4, const char* r5) {
    return Drawn({r0, r1, r2, r3, r4, r5});
}

// 8x6 frames worked out from the rules: the first, a middle and the last frame of each run.
// Blind: rows per frame H / n (effect), (H + 5) / (n + 1) (transition), (H + 5) / computed
// with PingPong. Random Rects: sides W / C and H / R to the nearest pixel; seed 1 draws 41,
// 18467, 6334, 26500 (positions 41 F / 32767 and so on among the F free rectangles).
// Frame Out / In: ex = (W / 2) k / q, ey = (H / 2) k / q with q = h (effect) or h + 1.
TEST(BlindAndFrame, HandWorkedFrames) {
    Pair p(8, 6);
    const char* c8 = "cccccccc";
    const char* i8 = "iiiiiiii";
    const char* one = "11111111";
    const char* two = "22222222";
    struct Case {
        const char* what;
        const char* name;
        bool effect;
        EffectParams params;
        std::size_t count;
        std::vector<std::pair<int, std::vector<uint32_t>>> frames;
    };
    const Case cases[] = {
        // b = 2, 2 rows a frame: 0 2 | 4 1 | 3 5.
        {"slats of 2", "Blind", true, {.frameCount = 3, .value1 = 2, .colorIndex = kColor}, 3,
         {{0, Rows(c8, i8, c8, i8, i8, i8)}, {1, Rows(c8, c8, c8, i8, c8, i8)},
          {2, Rows(c8, c8, c8, c8, c8, c8)}}},
        // PingPong: 2 computed, (6 + 5) / 2 = 5 rows a frame: 0 2 4 1 3 | 5 ...
        {"PingPong", "Blind", true,
         {.frameCount = 4, .pingPong = 1, .value1 = 2, .colorIndex = kColor}, 4,
         {{0, Rows(c8, c8, c8, c8, c8, i8)}, {1, Rows(c8, c8, c8, c8, c8, c8)},
          {2, Rows(c8, c8, c8, c8, c8, c8)}, {3, Rows(c8, c8, c8, c8, c8, i8)}}},
        // A height below 1 would never leave row 0: it closes as a height of 1, top down.
        {"height -3", "Blind", true, {.frameCount = 3, .value1 = -3, .colorIndex = kColor}, 3,
         {{0, Rows(c8, c8, i8, i8, i8, i8)}, {1, Rows(c8, c8, c8, c8, i8, i8)}}},
        // b = 3, 11 / 6 = 1 row a frame: 0 | 3 | 1 | 4 | 2; row 5 stays image 1 (and its
        // transparent pixel 45); image 2's transparent pixel 9 comes with row 1.
        {"slats of 3", "Blind", false, {.frameCount = 5, .value1 = 3}, 5,
         {{0, Rows(two, one, one, one, one, one)}, {2, Rows(two, two, one, two, one, one)},
          {4, Rows(two, two, two, two, two, one)}}},
        // b = H with PingPong: 11 rows asked of 6; the order runs past the last row.
        {"past the last row", "Blind", false, {.frameCount = 2, .pingPong = 1, .value1 = 6}, 2,
         {{0, Rows(two, two, two, two, two, two)}, {1, Rows(two, two, two, two, two, two)}}},
        // 2 x 2 rects of 4 x 3, one a frame: positions 0, 1 of 3, 0 of 2, 0 of 1: rectangles
        // 0, 2, 1, 3.
        {"seed 1", "Random Rects", false,
         {.frameCount = 4, .value1 = 2, .value2 = 2, .seed = 1}, 4,
         {{0, Drawn({"22221111", "22221111", "22221111", one, one, one})},
          {1, Drawn({"22221111", "22221111", "22221111", "22221111", "22221111", "22221111"})},
          {2, Drawn({two, two, two, "22221111", "22221111", "22221111"})},
          {3, Rows(two, two, two, two, two, two)}}},
        // The first draw is 32767, scaled onto F = 2 itself: drawn again, 15408 gives 0.
        {"redrawn", "Random Rects", false,
         {.frameCount = 2, .value1 = 2, .value2 = 1, .seed = 1669486827u}, 2,
         {{0, Rows("22221111", "22221111", "22221111", "22221111", "22221111", "22221111")}}},
        // 8 / 6 rounds to 1: columns 6 and 7 lie beyond the grid; 6 / 4 = 1.5 rounds up to 2.
        {"grid rounding", "Random Rects", false, {.frameCount = 1, .value1 = 6, .value2 = 4}, 1,
         {{0, Rows("22222211", "22222211", "22222211", "22222211", "22222211", "22222211")}}},
        // q = 4: (ex, ey) = (1, 0), (2, 1), (3, 2), (4, 3).
        {"border", "Frame Out", true, {.frameCount = 4, .colorIndex = kColor}, 4,
         {{0, Drawn({c8, "cciiiicc", "cciiiicc", "cciiiicc", "cciiiicc", c8})},
          {1, Drawn({c8, c8, "ccciiccc", "ccciiccc", c8, c8})},
          {3, Rows(c8, c8, c8, c8, c8, c8)}}},
        // q = 4: (1, 0), (2, 1), (3, 2); image 2's transparent pixel 9 leaves image 1's.
        {"border of image 2", "Frame Out 1. Image", false, {.frameCount = 3}, 3,
         {{0, Drawn({two, "21111122", "22111122", "22111122", "22111122", two})},
          {1, Drawn({two, "21222222", "22211222", "22211222", two, two})},
          {2, Drawn({two, "21222222", two, two, two, two})}}},
        // q = 4: (ex', ey') = (3, 3): beyond the centre row 2, nothing; (2, 2); (1, 1).
        {"from the centre", "Frame In 2. Image", false, {.frameCount = 3}, 3,
         {{0, Rows(one, one, one, one, one, one)},
          {1, Drawn({one, one, "11222211", "11222211", one, one})},
          {2, Drawn({one, "11222221", "12222221", "12222221", "12222221", one})}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.what);
        const FrameChain chain = RunNamed(c.name, c.params, *p.one, c.effect ? nullptr : p.two);
        const Frames pictures = Pictures(chain);
        ASSERT_EQ(pictures.size(), c.count);
        for (const auto& [index, expected] : c.frames)
            EXPECT_EQ(pictures[static_cast<std::size_t>(index)], expected) << "frame " << index;
        // Effects keep image 1's transparency on its indices; Frame Out and In are copies of
        // image 2, the others of image 1.
        const bool ofTwo = !c.effect && std::string(c.name).starts_with("Frame");
        EXPECT_EQ(chain->transparentIndex, static_cast<int32_t>(ofTwo ? kClearTwo : kClearOne));
    }
    EXPECT_FALSE(p.one->trueColor);  // read, never converted
}

// Frames at the edges of the counts, as patterns: equal letters, equal pictures; empty, none.
// Any number of threads paints the same, and a stopped run leaves nothing behind.
TEST(BlindAndFrame, FrameSequences) {
    Pair p(8, 40);  // taller than a block of rows
    struct Case {
        const char* name;
        bool effect;
        int32_t frames, pingPong, value1, value2;
        std::string pattern;
    };
    // clang-format off
    const Case cases[] = {
        {"Blind", true, 4, 1, 10, 0, "ABBA"}, {"Blind", false, 5, 1, 10, 0, "ABCBA"},
        {"Blind", true, 1, 1, 10, 0, "A"}, {"Blind", false, 0, 0, 10, 0, ""},
        {"Random Rects", false, 4, 1, 10, 10, "ABBA"}, {"Random Rects", false, 3, 0, 10, 10, "ABC"},
        // No grid to divide by; a grid too large to keep.
        {"Random Rects", false, 3, 0, 0, 10, ""}, {"Random Rects", false, 3, 0, 10, -1, ""},
        {"Random Rects", false, 3, 0, 8192, 8192, ""},
        {"Frame Out", true, 5, 1, 0, 0, "ABCBA"}, {"Frame Out", true, 0, 0, 0, 0, ""},
        {"Frame Out 1. Image", false, 1, 1, 0, 0, "A"},
        {"Frame In 2. Image", false, 4, 1, 0, 0, "ABBA"}};
    // clang-format on
    JobScheduler pool(2);
    EffectParams params{.colorIndex = 3, .seed = 7};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames) + " " +
                     std::to_string(c.pingPong) + " " + std::to_string(c.value1));
        params.frameCount = c.frames;
        params.pingPong = c.pingPong;
        params.value1 = c.value1;
        params.value2 = c.value2;
        ExpectSequence(c.name, params, *p.one, c.effect ? nullptr : p.two, pool, c.pattern);
    }
    // The effects' frames keep image 1's colours where it uses the global palette; indices
    // awaiting their reduction are not its picture yet.
    p.doc.globalPalette = std::exchange(p.one->palette, EmptyPalette());
    p.one->usesLocalPalette = 0;
    for (const char* name : {"Blind", "Frame Out"}) {
        const FrameChain global = RunNamed(name, {.frameCount = 1, .value1 = 2}, *p.one, nullptr);
        ASSERT_TRUE(global) << name;
        EXPECT_EQ(EffectivePalette(*global), p.doc.globalPalette) << name;
    }
    SetIndexedReady(*p.one, 0);
    EXPECT_TRUE(Made("Blind", {.frameCount = 1, .value1 = 2}, *p.one).empty());
}

// The slats close together, each from its top row down: on 100 rows with height 10, frame k
// (from 0) has covered rows 10 j + i for every i <= k. A blind as high as the picture closes
// it top to bottom.
TEST(BlindAndFrame, SlatsCloseTogether) {
    Animation doc;
    const Gif* tall = Frame(doc, 1, 100, {0x102030});
    const Frames slats = Made("Blind", {.frameCount = 10, .value1 = 10, .colorIndex = kColor}, *tall);
    ASSERT_EQ(slats.size(), 10u);
    for (std::size_t k = 0; k < slats.size(); ++k)
        for (uint32_t y = 0; y < 100; ++y)
            EXPECT_EQ(slats[k][y], y % 10 <= k ? kColorIndex : y) << "frame " << k << " row " << y;
    const Frames whole = Made("Blind", {.frameCount = 4, .value1 = 100, .colorIndex = kColor}, *tall);
    ASSERT_EQ(whole.size(), 4u);
    for (uint32_t y = 0; y < 100; ++y) EXPECT_EQ(whole[0][y], y < 25 ? kColorIndex : y) << y;
}

// 10 x 10 rectangles of 2 x 1 over 20 x 10 pixels, 10 a frame: each frame shows exactly ten
// more, none taken twice, all by the last frame; with PingPong the same over 20 frames.
TEST(BlindAndFrame, RandomRectsShowEveryRectangleOnce) {
    Pair p(20, 10);
    for (int32_t pingPong : {0, 1}) {
        const EffectParams params{.frameCount = 10 * (1 + pingPong), .pingPong = pingPong,
                                  .value1 = 10, .value2 = 10, .seed = 12345};
        const Frames frames = Made("Random Rects", params, *p.one, p.two);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(params.frameCount));
        std::vector<bool> shown(100, false);
        for (std::size_t k = 0; k < 10; ++k) {
            int added = 0;
            for (std::size_t r = 0; r < 100; ++r) {
                const uint32_t left = frames[k][2 * r], right = frames[k][2 * r + 1];
                const bool two = (left & 0xF00000) == 0x200000;
                EXPECT_EQ((right & 0xF00000) == 0x200000, two) << "a rectangle is whole";
                EXPECT_TRUE(two || !shown[r]) << "rectangle " << r << " hidden again";
                added += two && !shown[r];
                shown[r] = shown[r] || two;
            }
            EXPECT_EQ(added, 10) << "frame " << k;
        }
        EXPECT_EQ(frames[9], Drawn({std::string(200, '2').c_str()}));
        // Another seed places them otherwise.
        EffectParams other = params;
        other.seed = 54321;
        EXPECT_NE(Made("Random Rects", other, *p.one, p.two)[0], frames[0]);
    }
}

TEST(BlindAndFrame, ValidateRefusesOutOfRange) {
    const std::string blind = "Valid values for Blind height : 2-6(picture height)";
    // clang-format off
    struct Case { const char* name; bool effect; const char *value1, *value2; int32_t frames;
                  std::string message; int field; };
    const Case cases[] = {  // an empty message: accepted; the picture is 6 rows high
        {"Blind", true, "1", "", 10, blind, 1}, {"Blind", false, "7", "", 10, blind, 1},
        {"Blind", true, "2", "", 10, "", 0}, {"Blind", false, "6", "", 1, "", 0},
        {"Random Rects", false, "3", "3", 10,
         "Number of Frames (=10) must be smaller than Number of Rects (=columns*rows=9)",
         kFrameCountField},
        {"Random Rects", false, "10", "10", 100, "", 0},
        {"Frame Out", true, "", "", 1, "", 0}, {"Frame In 2. Image", false, "", "", 1, "", 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.value1 + " " + c.value2);
        SlotRecord slots;
        slots.frameCount = c.frames;
        slots.imageWidth = 8;
        slots.imageHeight = 6;
        const EffectEntry& entry = InitEntry(slots, c.effect, c.name);
        if (slots.ValueSlot(1).enabled) slots.ValueSlot(1).text = c.value1;
        if (slots.ValueSlot(2).enabled) slots.ValueSlot(2).text = c.value2;
        ExpectRefusal(entry, slots, SetupMode::Validate, c.message, c.field);
    }
}

// Seeded with 1, the C library's generator gives its well-known first values.
TEST(EffectRandomTest, KnownSequence) {
    EffectRandom random(1);
    std::vector<int32_t> drawn;
    for (int i = 0; i < 5; ++i) drawn.push_back(random.Next());
    EXPECT_EQ(drawn, (std::vector<int32_t>{41, 18467, 6334, 26500, 19169}));
    EffectRandom again = EffectRandom::Seeded(1u);
    EXPECT_EQ(again.Next(), 41);
}

}  // namespace
}  // namespace anitrope
