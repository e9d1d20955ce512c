#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"
#include "effects/effect_random.h"

namespace anitrope {
namespace {

// Image 1's pixel k (row by row) has index k mod 256 and colour 0x100000 + that index,
// transparent at index 0; image 2's colour is 0x200000 + the index, transparent at index 20,
// which the first spiral cell and the still spot hold.
constexpr uint32_t kClearOne = 0, kClearTwo = 20;
constexpr int32_t kColor = 200;

struct Pair : ImagePair {
    Pair(uint32_t w, uint32_t h)
        : ImagePair(w, h, Shades(0x100000), Shades(0x200000), kClearOne, kClearTwo) {}
};

// One character a pixel, rows apart by spaces: '1' image 1's pixel, '2' image 2's; for the
// effects, which paint indices, 'i' image 1's index and 'c' the colour's.
std::vector<uint32_t> Drawn(const std::string& rows) {
    return SourcesDrawn(rows, kClearOne, kClearTwo, kColor);
}

// The first, a middle and the last frame of each entry on tiny frames, worked out from the
// rules.
TEST(SpiralSpotShine, HandWorkedFrames) {
    // clang-format off
    struct Case { const char* what; const char* name; bool effect; uint32_t w, h;
                  EffectParams params; std::size_t count;
                  std::vector<std::pair<int, std::string>> frames; };
    const Case cases[] = {
        // cw = round(8 / 3) = 3, ch = round(6 / 8 * 3) = 2, 3 x 3 cells (the right one cut to
        // 2 columns): centre, right, down-right, down, down-left, left, up-left, up, up-right.
        {"3 x 3", "Spiral", false, 8, 6, {.frameCount = 9}, 9,
         {{0, "11111111 11111111 11122211 11122211 11111111 11111111"},
          {4, "11111111 11111111 11122222 11122222 22222222 22222222"},
          {8, "22222222 22222222 22222222 22222222 22222222 22222222"}}},
        {"3 x 3", "Spiral", true, 8, 6, {.frameCount = 9, .colorIndex = kColor}, 9,
         {{0, "iiiiiiii iiiiiiii iiicccii iiicccii iiiiiiii iiiiiiii"},
          {6, "ccciiiii ccciiiii cccccccc cccccccc cccccccc cccccccc"},
          {8, "cccccccc cccccccc cccccccc cccccccc cccccccc cccccccc"}}},
        // cw = 5, ch = 3, 2 x 2 = 4 < 5 cells; cw grows by (12 - 10) / 2 to 6, ch by 1 / 2 to
        // none: row 6 is never covered, and the fifth frame repeats the fourth.
        {"grown", "Spiral", false, 12, 7, {.frameCount = 5}, 5,
         {{0, "222222111111 222222111111 222222111111 111111111111 111111111111 111111111111 "
              "111111111111"},
          {2, "222222222222 222222222222 222222222222 111111222222 111111222222 111111222222 "
              "111111111111"},
          {4, "222222222222 222222222222 222222222222 222222222222 222222222222 222222222222 "
              "111111111111"}}},
        // F = 7 gives 3 x 3 > 4 computed: 2 x 2 cells of round(8 / 2) x round(6 / 2).
        {"PingPong", "Spiral", true, 8, 6, {.frameCount = 7, .pingPong = 1, .colorIndex = kColor},
         7, {{0, "cccciiii cccciiii cccciiii iiiiiiii iiiiiiii iiiiiiii"},
             {3, "cccccccc cccccccc cccccccc cccccccc cccccccc cccccccc"},
             {6, "cccciiii cccciiii cccciiii iiiiiiii iiiiiiii iiiiiiii"}}},
        // cw = 4, ch = round(0.25 + 0.5) = 0, taken as 1: 4 x 1 cells from cell 1. Heading
        // right along the only row, the cell below lies beyond the grid and does not turn it.
        {"one row", "Spiral", true, 16, 1, {.frameCount = 16, .colorIndex = kColor}, 16,
         {{0, "iiiicccciiiiiiii"}, {1, "iiiicccccccciiii"}, {15, "iiiicccccccccccc"}}},
        // r = 6 * 40 / 100 = 2; t = 0, 1.570795, 3.14159, 4.712385 puts the centre at
        // (4, 4), (6 - 2e-12, 3 + 1e-6), (4 + 5e-6, 2 + 4e-12), (2 + 2e-11, 3 - 4e-6): rows
        // o = 1 span sqrt 3 either side (truncated), o = 0 two, o = 2 nothing.
        {"circle", "Spot", true, 8, 6, {.frameCount = 4, .value1 = 40, .colorIndex = kColor,
                                        .direction = 0}, 4,
         {{0, "cccccccc cccccccc cccccccc cciiiccc cciiiicc cciiiccc"},
          {1, "cccccccc cccccccc cccciiic ccciiiic cccciiic cccccccc"},
          {3, "cccccccc iiiccccc iiiicccc iiiccccc cccccccc cccccccc"}}},
        {"circle", "Spot", false, 8, 6, {.frameCount = 4, .value1 = 40, .direction = 0}, 4,
         {{0, "11111111 11111111 11111111 11222111 11222211 11222111"},
          {2, "11111111 11222111 11222211 11222111 11111111 11111111"},
          {3, "11111111 22211111 22221111 22211111 11111111 11111111"}}},
        // No movement chosen: the centre stays at (0.5, 0.5) of its rectangle.
        {"still", "Spot", false, 8, 6, {.frameCount = 2, .value1 = 40, .direction = -1}, 2,
         {{1, "11111111 11111111 11222111 11222211 11222111 11111111"}}},
        // 12 pixels, c = 3 a frame, r = 10 < 101: counted out with seed 1 (41, 18467, 6334,
        // 26500, 19169, 15724, 11478, 29358, 26962): d = 0 (the top-left), 5, 1 | 5, 3, 2 |
        // 1, 2, 1 among the free ones.
        {"counted", "Random Shine through", true, 4, 3, {.frameCount = 3, .colorIndex = kColor,
                                                          .seed = 1}, 3,
         {{0, "ccii icii iiii"}, {1, "ccic ccic iiii"}, {2, "cccc cccc ciii"}}},
        {"counted", "Random Shine through", false, 4, 3, {.frameCount = 3, .seed = 1}, 3,
         {{0, "2211 1211 1111"}, {1, "2212 2212 1111"}, {2, "2222 2222 2111"}}},
        // 2 pixels, c = 1, r = 0: nothing left to draw from, the counting takes the top-left.
        {"none to draw", "Random Shine through", true, 1, 2, {.frameCount = 1,
                                                              .colorIndex = kColor}, 1,
         {{0, "c i"}}},
        // 128 pixels, r = 126: drawn by position. This seed draws 32767 (x = 16, beyond: start
        // over), 8051 (x = 3), 32767 (y = 8, beyond: again), 5456 (y = 1); then 5488, 26121:
        // (2, 6).
        {"drawn", "Random Shine through", false, 16, 8, {.frameCount = 64, .seed = 4063464547u},
         64, {{0, "1111111111111111 1112111111111111 1111111111111111 1111111111111111 "
                  "1111111111111111 1111111111111111 1111111111111111 1111111111111111"},
              {1, "1111111111111111 1112111111111111 1111111111111111 1111111111111111 "
                  "1111111111111111 1111111111111111 1121111111111111 1111111111111111"}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.what);
        Pair p(c.w, c.h);
        const FrameChain chain = RunNamed(c.name, c.params, *p.one, c.effect ? nullptr : p.two);
        const Frames pictures = Pictures(chain);
        ASSERT_EQ(pictures.size(), c.count);
        for (const auto& [index, rows] : c.frames)
            EXPECT_EQ(pictures[static_cast<std::size_t>(index)], Drawn(rows)) << "frame " << index;
        EXPECT_EQ(chain->transparentIndex, static_cast<int32_t>(kClearOne));
    }
}

// The run as the rules put it, the walk along the rows included: the frame that first changes
// each pixel, -1 for none. The last pixel of a run as long as the picture draws from nothing.
std::vector<int32_t> ShineByTheRules(int32_t w, int32_t h, int32_t n, uint32_t seed) {
    EffectRandom random(seed);
    std::vector<int32_t> first(static_cast<std::size_t>(w * h), -1);
    auto free = [&](int32_t p) { return first[static_cast<std::size_t>(p)] < 0; };
    for (int32_t j = 0, r = w * h - 2; j < n; ++j) {
        for (int32_t i = 0, p = 0; i < w * h / (n + 1); ++i, --r) {
            if (r < 101) {
                int32_t d = 0;
                while (r > 0 && (d = r * random.Next() / 32767) >= r) {
                }
                for (p = 0; p < w * h; ++p)
                    if ((d -= free(p)) <= 0) break;
            } else {
                for (p = -1; p < 0 || !free(p);) {
                    const int32_t x = w * random.Next() / 32767;
                    int32_t y = h;
                    while (x < w && y >= h) y = h * random.Next() / 32767;
                    p = x < w ? y * w + x : -1;
                }
            }
            if (free(p)) first[static_cast<std::size_t>(p)] = j;
        }
    }
    return first;
}

// Long runs against the rules: each frame adds its pixels for good, drawn and counted out as
// the rules draw and count them (the counting is not a walk here). 10 x 10 in 99 frames
// counts every pixel out and ends on a draw from nothing; 32 x 16 in 4 draws all 408 by
// position.
TEST(SpiralSpotShine, RandomShineFollowsTheRules) {
    struct Case {
        int32_t w, h, frames, pingPong;
        uint32_t seed;
    };
    for (const Case& c : {Case{10, 10, 99, 0, 5}, Case{23, 7, 40, 0, 77}, Case{12, 9, 9, 1, 3},
                          Case{3, 40, 30, 0, 123456789}, Case{32, 16, 4, 0, 9}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " " +
                     std::to_string(c.frames));
        Pair p(static_cast<uint32_t>(c.w), static_cast<uint32_t>(c.h));
        const EffectParams params{.frameCount = c.frames, .pingPong = c.pingPong, .seed = c.seed};
        const Frames made = Made("Random Shine through", params, *p.one, p.two);
        const int32_t n = ComputedCount(c.frames, c.pingPong != 0);
        ASSERT_EQ(made.size(), static_cast<std::size_t>(c.frames));
        const std::vector<int32_t> first = ShineByTheRules(c.w, c.h, n, c.seed);
        for (int32_t k = 0; k < c.frames; ++k) {
            const int32_t j = k < n ? k : c.frames - 1 - k;  // PingPong plays them back
            std::string expected;
            for (std::size_t q = 0; q < first.size(); ++q)
                expected += first[q] >= 0 && first[q] <= j ? '2' : '1';
            ASSERT_EQ(made[static_cast<std::size_t>(k)], Drawn(expected)) << "frame " << k;
        }
    }
    // A large picture stays quick: 3041 pixels a frame, every one new.
    Animation doc;
    Gif* large = testing::AppendFrame(doc, 640, 480);
    const FrameChain run = RunNamed(
        "Random Shine through", {.frameCount = 100, .colorIndex = 1, .seed = 2}, *large, nullptr);
    ASSERT_TRUE(run);
    std::size_t changed = 0;
    Gif* last = ChainFrames(run.get()).back();
    for (int32_t y = 0; y < 480; ++y)
        changed += std::count(last->indexed->Row(y), last->indexed->Row(y) + 640, 1);
    EXPECT_EQ(changed, 100u * 3041u);
}

// The spot as the rules draw it, row o above and below the centre for o = r ... 0, against
// every movement, a radius whose rows meet near the centre, and one that spans nothing.
TEST(SpiralSpotShine, SpotFollowsTheRules) {
    Pair p(23, 17);
    for (int32_t value1 : {45, 13, 1}) {
        for (int32_t movement = 0; movement <= 7; ++movement) {
            const EffectParams params{
                .frameCount = 9, .value1 = value1, .colorIndex = kColor, .direction = movement};
            const Frames made = Made("Spot", params, *p.one);
            ASSERT_EQ(made.size(), 9u);
            const int32_t w = 23, h = 17, r = 17 * value1 / 100;
            for (int32_t i = 0; i < 9; ++i) {
                const double t = static_cast<double>(i) / 9 * 6.28318;
                // clang-format off
                const double xs[] = {std::sin(t), std::sin(2 * t), std::sin(t), std::sin(2 * t),
                                     std::sin(4 * t), std::sin(t) * std::cos(2 * t),
                                     std::sin(2 * t) * std::cos(t), 0};
                const double ys[] = {std::cos(t), std::cos(t), std::cos(3 * t), std::cos(3 * t),
                                     std::cos(3 * t), std::cos(3 * t), std::cos(3 * t), 0};
                // clang-format on
                const double px = (xs[movement] + 1) / 2, py = (ys[movement] + 1) / 2;
                std::string expected(static_cast<std::size_t>(w * h), 'c');
                for (int32_t o = r; o >= 0; --o) {
                    const auto yt = static_cast<int32_t>((h - 2 * r) * py - o + r);
                    const auto yb = static_cast<int32_t>(o + (h - 2 * r) * py + r);
                    const double s = std::sqrt(r * r - o * o);
                    for (auto x = static_cast<int32_t>(r + (w - 2 * r) * px - s);
                         x < static_cast<int32_t>(r + (w - 2 * r) * px + s); ++x)
                        for (int32_t y : {yb, yt})
                            if (x >= 0 && x < w && y >= 0 && y < h)
                                expected[static_cast<std::size_t>(y * w + x)] = 'i';
                }
                EXPECT_EQ(made[static_cast<std::size_t>(i)], Drawn(expected))
                    << "radius " << value1 << " movement " << movement << " frame " << i;
            }
        }
    }
}

// Counts as patterns (equal letters, equal pictures; empty: none), the same frames with
// threads, nothing after a stop, and pictures one pixel wide or high.
TEST(SpiralSpotShine, Sequences) {
    Pair p(8, 40);  // taller than a block of rows
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong, value1; std::string pattern; };
    const Case cases[] = {
        // F = 8: 3 x 3 cells > 4 computed, so 2 x 2: four frames, then back.
        {"Spiral", true, 8, 1, 0, "ABCDDCBA"}, {"Spiral", false, 4, 0, 0, "ABCD"},
        {"Spiral", false, 0, 0, 0, ""},
        // The spot goes round once whatever PingPong says; a radius of half the side or more is
        // refused; a negative one lights nothing.
        {"Spot", true, 4, 1, 20, "ABCD"}, {"Spot", false, 3, 0, 49, "ABC"},
        {"Spot", false, 3, 0, 50, ""}, {"Spot", true, 3, 0, -5, "AAA"}, {"Spot", true, 0, 0, 20, ""},
        {"Random Shine through", true, 4, 1, 0, "ABBA"},
        {"Random Shine through", false, 3, 0, 0, "ABC"}, {"Random Shine through", false, 0, 0, 0, ""}};
    // clang-format on
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames) + " " +
                     std::to_string(c.value1));
        // clang-format off
        const EffectParams params{.frameCount = c.frames, .pingPong = c.pingPong, .value1 = c.value1,
                                  .colorIndex = 3, .direction = 2, .seed = 11};
        // clang-format on
        ExpectSequence(c.name, params, *p.one, c.effect ? nullptr : p.two, pool, c.pattern);
    }
    EXPECT_FALSE(p.one->trueColor);  // read, never converted
    // Drawn by position, only 32767 of 65535 columns can come up: 43690 pixels would wait for
    // ever for the others.
    Animation wideDoc;
    const Gif* wide = testing::AppendFrame(wideDoc, 65535, 1);
    EXPECT_TRUE(Made("Random Shine through", {.frameCount = 2, .seed = 4}, *wide).empty());
    // One pixel wide or high: every frame made, nothing read or written beside the picture.
    for (const auto& [w, h] : std::vector<std::pair<uint32_t, uint32_t>>{{1, 1}, {1, 7}, {7, 1}}) {
        Pair thin(w, h);
        for (const char* name : {"Spiral", "Spot", "Random Shine through"}) {
            for (const Gif* second : std::vector<const Gif*>{nullptr, thin.two}) {
                const EffectParams params{.frameCount = 9, .value1 = 49, .seed = 1};
                EXPECT_EQ(Made(name, params, *thin.one, second).size(), 9u) << name << w << h;
            }
        }
    }
}

// The setups: Spot's list, and each refusal once; Random Shine accepts whatever it is given.
TEST(SpiralSpotShine, Setup) {
    SlotRecord spot;
    RunSetup(*FindEntry(true, "Spot"), spot, SetupMode::Init);
    EXPECT_EQ(spot.ListSlot(1).label, "Predefined Movements");
    EXPECT_EQ(spot.ListSlot(1).items,
              (std::vector<std::string>{
                  "Simple circle", "loop (sin 2t , cos t)", "double loop (sin t , cos 3t)",
                  "butterfly (sin 2t , cos 3t)", "atomium (sin 4t , cos 3t)",
                  "multicircle1 (sin 2t cos t , cos 3t)", "multicircle2 (sin t cos 2t , cos 3t)"}));
    EXPECT_EQ(spot.ListSlot(1).selection, 0);
    const std::string spiral = "Spiral grid doesn't correspond to Nr. of Frames";
    // clang-format off
    struct Case { const char* name; bool effect; int32_t w, h, frames; const char* value1;
                  std::string message, title; int field; };
    const Case cases[] = {  // an empty message: accepted
        // cw = 32, 3 x 3 = 9 < 10 cells; cw = 35, 3 x 3 > 8, so 2 x 2.
        {"Spiral", true, 100, 100, 10, "", "For a 3 x 3 spiral grid only 9 frames are necessary.\n"
         "Use 9 frames instead of 10 ?", spiral, kFrameCountField},
        {"Spiral", false, 100, 100, 8, "", "For a 2 x 2 spiral grid only 4 frames are necessary.\n"
         "Use 4 frames instead of 8 ?", spiral, kFrameCountField},
        {"Spiral", false, 100, 100, 9, "", "", "", 0}, {"Spiral", true, 8, 6, 4, "", "", "", 0},
        {"Spot", true, 8, 6, 10, "50", "Radius must be smaller than 50 %", "Parameter out of Range", 1},
        {"Spot", false, 8, 6, 10, "49", "", "", 0},
        {"Random Shine through", false, 8, 6, 1000, "", "", "", 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames) + " " + c.value1);
        SlotRecord slots;
        slots.frameCount = c.frames;
        slots.imageWidth = c.w;
        slots.imageHeight = c.h;
        const EffectEntry& entry = InitEntry(slots, c.effect, c.name);
        if (slots.ValueSlot(1).enabled) slots.ValueSlot(1).text = c.value1;
        // Spiral asks rather than refuses: Cancel refuses, Yes takes the count it proposes.
        const bool asks = c.title == spiral;
        slots.answer = SlotAnswer::Cancel;
        EXPECT_EQ(RunSetup(entry, slots, SetupMode::Validate), c.message.empty() ? 1 : 0);
        const auto& said = asks ? slots.questions : slots.refusals;
        ASSERT_EQ(said.size(), c.message.empty() ? 0u : 1u);
        ASSERT_EQ(slots.refusals.size() + slots.questions.size(), said.size());
        if (c.message.empty()) continue;
        EXPECT_EQ(said[0].message, c.message);
        EXPECT_EQ(said[0].title, c.title);
        EXPECT_EQ(said[0].field, c.field);
        if (!asks) continue;
        slots.answer = SlotAnswer::Yes;
        EXPECT_EQ(RunSetup(entry, slots, SetupMode::Validate), 1);
        EXPECT_NE(c.message.find("Use " + std::to_string(slots.frameCount) + " frames"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace anitrope
