#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"
#include "effects/effect_families.h"

namespace anitrope {
namespace {

// Image 1's pixel k (row by row) is index k, colour 0xA00000 + k, drawn 'a' + k; image 2's is
// 0xB00000 + k, drawn 'A' + k. Each lets through at its own index. '.' is the colour: image 1's
// slot 20, 0xC0C0C0, which is also the document's background index.
constexpr int32_t kSlot = 20;

struct Pair : LetterImages {
    Pair(uint32_t w, uint32_t h, int32_t clearOne, int32_t clearTwo)
        : LetterImages(
              {.w = w, .h = h, .slot = kSlot, .clearOne = clearOne, .clearTwo = clearTwo}) {
        doc.backgroundIndex = kSlot;
    }
};

// The first, a middle and the last frame of each entry on tiny frames, worked out from the
// angles, the turned columns and the fold geometry. On the 4 x 3 pair 'e' (image 1) and 'C'
// (image 2) let through.
//
// Radar about the centre (2, 1): the pixels' angles, rounded, are
//   153 135  90  45
//   180 180   -   0
//   207 225 270 315
TEST(RadarRotorPage, ComputedFrames) {
    Pair small(4, 3, 4, 2);
    Pair wide(8, 2, 15, 13);  // 'p' and 'N' let through
    using Rows = std::vector<std::string>;
    // clang-format off
    struct Case { const char* name; bool effect; Pair* images; EffectParams params;
                  std::vector<std::pair<int, Rows>> expected; std::size_t count; };
    const Case cases[] = {
        // Counter-clockwise from 0 over 3 frames: 0-90, 0-180, 0-270 degrees.
        {"Radar", true, &small, {.frameCount = 3, .colorIndex = kSlot, .direction = 0},
         {{0, {"ab..", "ef..", "ijkl"}}, {1, {"....", "....", "ijkl"}},
          {2, {"....", "....", "...l"}}}, 3},
        // Top-left, clockwise, one frame: A = 0, E = -45, the start angle ignored: y <= x.
        {"Radar", true, &small, {.frameCount = 1, .value1 = 77, .check1 = 1, .colorIndex = kSlot,
                                 .direction = 2},
         {{0, {"....", "e...", "ij.."}}}, 1},
        // Top-right (3, 0), counter-clockwise 180-225: (2, 1) at 224.99... rounds onto the edge.
        {"Radar", true, &small, {.frameCount = 1, .colorIndex = kSlot, .direction = 1},
         {{0, {"....", "...h", "..kl"}}}, 1},
        // Bottom-right (3, 2), clockwise 180 down to 135.
        {"Radar", true, &small, {.frameCount = 1, .check1 = 1, .colorIndex = kSlot, .direction = 4},
         {{0, {"..cd", "...h", "...."}}}, 1},
        // 370 starts at 10: 10-190.
        {"Radar", true, &small, {.frameCount = 1, .value1 = 370, .colorIndex = kSlot,
                                 .direction = 0},
         {{0, {"....", "...h", "ijkl"}}}, 1},
        // -360 starts at 360; clockwise down to 180.
        {"Radar", true, &small, {.frameCount = 1, .value1 = -360, .check1 = 1, .colorIndex = kSlot,
                                 .direction = 0},
         {{0, {"abcd", "...h", "...."}}}, 1},
        // -90 starts at 270, counter-clockwise to 360, 450, 540; 'C' keeps image 1's 'c'.
        {"Radar", false, &small, {.frameCount = 3, .value1 = -90, .direction = 0},
         {{0, {"abcd", "efGH", "ijKL"}}, {1, {"abcD", "efGH", "ijKL"}},
          {2, {"ABcD", "EFGH", "ijKL"}}}, 3},
        // Bottom-left (0, 2), counter-clockwise 0-45.
        {"Radar", false, &small, {.frameCount = 1, .direction = 3},
         {{0, {"abcD", "eFGH", "IJKL"}}}, 1},
        // H + 180 = 183 in steps of 183 / 3 = 61: three frames for two. Rows turn 61, 60, 59
        // degrees, then 122, 121, 120, then all half a turn (column x reads 3, 2, 2, 1). 'e'
        // outside the turned row stays.
        {"Rotor", true, &small, {.frameCount = 2, .colorIndex = kSlot},
         {{0, {".acd", "eegh", ".ikl"}}, {1, {".dca", "ehge", ".lki"}},
          {2, {"dccb", "hggf", "lkkj"}}}, 3},
        // A step of 183 / 201 = 0 becomes 1: 183 frames. At p = 1 only row 0 turns, by one
        // degree: column 3 reads trunc(-1.00015 + 0.5) = 0 away from the centre.
        {"Rotor", true, &small, {.frameCount = 200, .colorIndex = kSlot},
         {{0, {"abcc", "efgh", "ijkl"}}, {182, {"dccb", "hggf", "lkkj"}}}, 183},
        // Step round(61.0) = 61; from 90 degrees on image 2 shows, mirrored back.
        {"Rotor", false, &small, {.frameCount = 2, .colorIndex = kSlot},
         {{0, {".acd", "eegh", ".ikl"}}, {1, {".ABD", "eEFH", ".IJL"}},
          {2, {"ABBC", "EFFG", "IJJK"}}}, 3},
        // Step round(91.5) = 92, one frame: rows at 92, 91, 90 degrees keep only their centre.
        // The colour is the transparent index, so it carries the bit: drawn 'e'.
        {"Rotor", false, &small, {.frameCount = 1, .colorIndex = 4},
         {{0, {"eeBe", "eeFe", "eeJe"}}}, 1},
        // Page, 90 degrees, no thickness: S = (0, 0), E = (3, 2); the fold x = 1, 2, 3 mirrors
        // the page to its right (x -> 2 L.x - x); 'e' does not cover.
        {"Page", true, &small, {.frameCount = 3, .value1 = 90},
         {{0, {".bad", ".fgh", ".jil"}}, {1, {"..cb", "..gf", "..kj"}},
          {2, {"...d", "...h", "...l"}}}, 3},
        // 135 degrees: the fold x + y' = c with c = 5/3, 10/3, 5 (y' = 2 - y) reflects (x, y')
        // to (c - y', c - x).
        {"Page", true, &small, {.frameCount = 3, .value1 = 135},
         {{0, {"abid", ".fjh", "..kl"}}, {1, {"..fj", "...k", "...."}},
          {2, {"...d", "....", "...."}}}, 3},
        // -90 picks as 270: S = (3, 2), E = (0, 0), the page left of x = 1.5 and 0.
        {"Page", true, &small, {.frameCount = 2, .value1 = -90},
         {{0, {"dc..", "hg..", "lk.."}}, {1, {"a...", "....", "i..."}}}, 2},
        // Increment 360 in 2 steps: 180 (the page above y' = 1, mirrored) then 0 (below y' = 0).
        {"Page", true, &small, {.frameCount = 2, .value2 = 360},
         {{0, {"ijkl", ".fgh", "...."}}, {1, {"....", "....", "ijkl"}}}, 2},
        // 270, thickness 2, 8 x 2: S = (6, 1), E = (-2.02, 0); halfway the fold is x = 1.99.
        // Column 2 lies on the cylinder's front, column 3 (d = 1.01) on its front and back
        // (1.99 + 2 (pi - asin 0.505) = 7.21, column 7, where 'p' lets 'l' stay).
        {"Page", false, &wide, {.frameCount = 1, .value1 = 270, .value3 = 2},
         {{0, {"abchEFGH", "ijklMNOP"}}}, 1},
        {"Page", true, &wide, {.frameCount = 2, .value1 = 270, .value3 = 2},
         {{0, {"abch....", "ijkl...."}}, {1, {"........", "........"}}}, 2},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.effect ? " effect " : " transition ") +
                     std::to_string(c.params.frameCount) + " " + std::to_string(c.params.value1) +
                     " " + std::to_string(c.params.direction));
        const Frames made =
            Made(c.name, c.params, *c.images->one, c.effect ? nullptr : c.images->two);
        c.images->ExpectFrames(made, c.count, c.expected, c.effect);
    }
}

// The PingPong shapes (Rotor's way back ends on its first frame even when the wave made an
// extra frame), the same frames from any number of threads, nothing after a stop. Frames
// taller than a block of rows, so that rows are shared out too.
TEST(RadarRotorPage, SequencesAndThreads) {
    ImagePair tall(8, 40, SaltedColours(0), SaltedColours(1), 7, 9);
    Gif* one = tall.one;
    // clang-format off
    struct Case { const char* name; bool effect; EffectParams params; std::string pattern; };
    const Case cases[] = {
        {"Radar", true, {.frameCount = 4, .pingPong = 1, .colorIndex = 3, .direction = 0}, "ABBA"},
        {"Radar", false, {.frameCount = 5, .pingPong = 1, .check1 = 1, .direction = 4}, "ABCBA"},
        {"Radar", true, {.frameCount = 0}, ""},
        // H + 180 = 220: 220 / 3 = 73 makes 3 frames for 2, then frames 2 and 1.
        {"Rotor", true, {.frameCount = 4, .pingPong = 1, .colorIndex = 3}, "ABCBA"},
        // round(73.3) = 73, 3 frames, then frame 1.
        {"Rotor", false, {.frameCount = 3, .pingPong = 1, .colorIndex = 3}, "ABCA"},
        {"Rotor", false, {.frameCount = 2, .colorIndex = 3}, "ABC"},
        {"Rotor", true, {.frameCount = 0}, ""},
        {"Page", true, {.frameCount = 4, .pingPong = 1, .value1 = 70, .value2 = -50,
                        .value3 = 20}, "ABBA"},
        {"Page", false, {.frameCount = 5, .pingPong = 1, .value1 = 240, .value2 = -120,
                         .value3 = 20}, "ABCBA"},
        {"Page", false, {.frameCount = 0}, ""}};
    // clang-format on
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.params.frameCount));
        ExpectSequence(c.name, c.params, *one, c.effect ? nullptr : tall.two, pool, c.pattern);
    }
    EXPECT_FALSE(one->trueColor);  // read, never converted
    // The effects' indices are image 1's picture only once reduced.
    SetIndexedReady(*one, 0);
    for (const char* name : {"Radar", "Rotor", "Page"})
        EXPECT_TRUE(Made(name, {.frameCount = 2, .value3 = 20}, *one).empty()) << name;
}

// Frames one pixel wide or high, extreme values: every run stays inside its frames (the
// sanitizer watches) and every pixel is one of the sources' or the colour.
TEST(RadarRotorPage, OddSizesAndExtremes) {
    // clang-format off
    struct Size { uint32_t w, h; std::size_t rotorEffect, rotorTransition; };
    // Rotor, 3 frames: s = (H + 180) / 4, or rounded, then floor((H + 180) / s) frames; for
    // H = 7 the rounded step 47 leaves only 3.
    const Size sizes[] = {{1, 1, 4, 4}, {1, 5, 4, 4}, {5, 1, 4, 4}, {3, 7, 4, 3}};
    const EffectParams runs[] = {
        {.frameCount = 3, .value1 = 70, .value2 = -50, .value3 = 20, .colorIndex = kSlot,
         .direction = 0},
        {.frameCount = 3, .value1 = 160, .value2 = -50, .value3 = 20, .check1 = 1,
         .colorIndex = kSlot, .direction = 1},
        {.frameCount = 3, .value1 = 240, .value2 = -120, .value3 = 20, .colorIndex = kSlot,
         .direction = 2},
        {.frameCount = 3, .value1 = 45, .value2 = 7, .check1 = 1, .colorIndex = kSlot,
         .direction = 3},
        {.frameCount = 3, .value1 = INT32_MIN, .value2 = INT32_MIN, .value3 = INT32_MAX,
         .colorIndex = kSlot, .direction = 4},
        {.frameCount = 3, .value1 = INT32_MAX, .value2 = INT32_MAX, .value3 = -5,
         .colorIndex = kSlot, .direction = 99}};
    // clang-format on
    for (const Size& size : sizes) {
        Pair pair(size.w, size.h, 0, 0);
        std::set<uint32_t> indices{kSlot}, colours{0xC0C0C0};
        for (uint32_t k = 0; k < size.w * size.h; ++k) {
            indices.insert(k);
            colours.insert((0xA00000 + k) | (k == 0 ? T : 0));
            colours.insert((0xB00000 + k) | (k == 0 ? T : 0));
        }
        for (const EffectParams& params : runs) {
            for (const char* name : {"Radar", "Rotor", "Page"}) {
                for (bool effect : {true, false}) {
                    SCOPED_TRACE(std::string(name) + " " + std::to_string(size.w) + "x" +
                                 std::to_string(size.h) + " " + std::to_string(params.value1) +
                                 (effect ? " effect" : " transition"));
                    const Frames made = Made(name, params, *pair.one, effect ? nullptr : pair.two);
                    const std::size_t count = std::string(name) != "Rotor" ? 3
                                              : effect                     ? size.rotorEffect
                                                                           : size.rotorTransition;
                    ASSERT_EQ(made.size(), count);
                    const std::set<uint32_t>& allowed = effect ? indices : colours;
                    for (const std::vector<uint32_t>& frame : made)
                        for (uint32_t p : frame) EXPECT_TRUE(allowed.count(p)) << std::hex << p;
                }
            }
        }
    }
    // Far more frames than degrees: a step of 1, so 181 frames for a row of one, and the way
    // back copies what there is.
    Pair dot(1, 1, 0, 0);
    EXPECT_EQ(Made("Rotor", {.frameCount = 100000, .pingPong = 1}, *dot.one).size(), 2 * 181u);
    EffectProgress progress;
    EXPECT_FALSE(ComputeRadar(nullptr, dot.two, {.frameCount = 2}, progress));
    EXPECT_FALSE(ComputeRotor(nullptr, dot.two, {.frameCount = 2}, progress));
    EXPECT_FALSE(ComputePage(nullptr, dot.two, {.frameCount = 2}, progress));
}

// The lists and what choosing an item does to the other controls; Page's one refusal.
TEST(RadarRotorPage, Setup) {
    for (bool effect : {true, false}) {
        SCOPED_TRACE(effect ? "effect" : "transition");
        const EffectEntry& radar = *FindEntry(effect, "Radar");
        SlotRecord slots;
        RunSetup(radar, slots, SetupMode::Init);
        EXPECT_EQ(slots.ListSlot(1).label, "Position");
        EXPECT_EQ(slots.ListSlot(1).items,
                  (std::vector<std::string>{"Center", "Top Right Corner", "Top Left Corner",
                                            "Bottom Left Corner", "Bottom Right Corner"}));
        EXPECT_EQ(slots.ListSlot(1).selection, 0);
        EXPECT_EQ(slots.colorEnabled, effect);
        // A corner turns the start angle off, the centre on again; no selection changes nothing.
        const std::pair<int, bool> choices[] = {
            {3, false}, {-1, false}, {0, true}, {-1, true}, {4, false}};
        for (const auto& [item, enabled] : choices) {
            slots.ListSlot(1).selection = item;
            EXPECT_EQ(RunSetup(radar, slots, SetupMode::ComboChanged), 1);
            EXPECT_EQ(slots.ValueSlot(1).enabled, enabled) << item;
        }
        EXPECT_EQ(slots.ValueSlot(1).text, "0");
    }

    const std::string page = "Turns the image away as if turning a page.\n",
                      picked = "The Image will be 'picked' on the ";
    // clang-format off
    struct Motion { int item; const char* start; const char* increment; std::string line; };
    const Motion motions[] = {
        {1, "160", "-50", picked + "bottom left corner and rolled to the top right corner"},
        {-1, "160", "-50", picked + "bottom left corner and rolled to the top right corner"},
        {2, "240", "-120", picked + "bottom right corner and rolled to the top right corner"},
        {0, "70", "-50", picked + "top left corner and rolled to the bottom right corner"}};
    // clang-format on
    for (bool effect : {true, false}) {
        const EffectEntry& entry = *FindEntry(effect, "Page");
        SlotRecord slots;
        RunSetup(entry, slots, SetupMode::Init);
        EXPECT_EQ(slots.description, page + motions[3].line);
        EXPECT_EQ(slots.ListSlot(1).label, "Predefined");
        EXPECT_EQ(slots.ListSlot(1).items,
                  (std::vector<std::string>{"Top-Left to Bottom-Right", "Bottom-Left to Top-Right",
                                            "Bottom-Right to Top-Right"}));
        for (const Motion& m : motions) {
            slots.ListSlot(1).selection = m.item;
            slots.ValueSlot(3).text = "7";  // overwritten by a choice, kept without one
            RunSetup(entry, slots, SetupMode::ComboChanged);
            EXPECT_EQ(slots.ValueSlot(1).text, m.start) << m.item;
            EXPECT_EQ(slots.ValueSlot(2).text, m.increment) << m.item;
            EXPECT_EQ(slots.ValueSlot(3).text, m.item < 0 ? "7" : "20") << m.item;
            EXPECT_EQ(slots.description, page + m.line) << m.item;
        }
        for (const char* thickness : {"-1", "0", "20"}) {
            SCOPED_TRACE(thickness);
            SlotRecord check;
            RunSetup(entry, check, SetupMode::Init);
            check.ValueSlot(3).text = thickness;
            const bool refused = thickness[0] == '-';
            ExpectRefusal(entry, check, SetupMode::Validate,
                          refused ? "The 'Rolling Thickness' must be greater or equal to 0." : "",
                          3);
        }
    }
}

}  // namespace
}  // namespace anitrope
