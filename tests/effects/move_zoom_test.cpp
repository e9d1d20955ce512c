#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"

namespace anitrope {
namespace {

// Image 1's pixel k (row by row, 4 x 3) is index k, colour 0xA00000 + k, drawn 'a' + k; image
// 2's is 0xB00000 + k, drawn 'A' + k. Index 5 ('f') is transparent in image 1, index 2 ('C') in
// image 2. '.' is the background: image 1's slot 20, 0xC0C0C0.
constexpr int32_t kSlot = 20;

struct Images : LetterImages {
    Images() : LetterImages({.w = 4, .h = 3, .slot = kSlot, .clearOne = 5, .clearTwo = 2}) {}
};

// The first, a middle and the last computed frame of each entry, worked out from the offsets
// and the sampling rule.
TEST(MoveZoom, ComputedFrames) {
    Images images;
    using Rows = std::vector<std::string>;
    const Rows blank{"....", "....", "...."};
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong, direction, option,
                  check1, angle; std::vector<std::pair<int, Rows>> expected; std::size_t count; };
    const Case cases[] = {
        // Right edge (4, 0) over 4 frames: 4 (i + 1) / 4 = 1, 2, 3, 4; 'f' lets the colour through.
        {"Move", true, 4, 0, 2, -1, 0, 0,
         {{0, {".abc", ".e.g", ".ijk"}}, {1, {"..ab", "..e.", "..ij"}}, {3, blank}}, 4},
        // Bottom-left (-4, 3) over 3: (-1, 1), (-2, 2), (-4, 3).
        {"Move", true, 3, 0, 5, -1, 0, 0,
         {{0, {"....", "bcd.", ".gh."}}, {1, {"....", "....", "cd.."}}, {2, blank}}, 3},
        {"Move", true, 2, 0, -1, -1, 0, 0,
         {{0, {"abcd", "e.gh", "ijkl"}}, {1, {"abcd", "e.gh", "ijkl"}}}, 2},
        {"Move", true, 1, 0, 2, -1, 0, 0, {{0, {"abcd", "e.gh", "ijkl"}}}, 1},
        // PingPong 5 computes 3: 4 (i + 1) / 3 = 1, 2, 4, then the second and first again.
        {"Move", true, 5, 1, 2, -1, 0, 0,
         {{0, {".abc", ".e.g", ".ijk"}}, {2, blank}, {3, {"..ab", "..e.", "..ij"}},
          {4, {".abc", ".e.g", ".ijk"}}}, 5},
        // Over image 2, bottom (0, 3) in n + 1 = 4 steps: 0, 1, 2; 'C' lets the colour through.
        {"Move 1. Image", false, 3, 0, 4, -1, 0, 0,
         {{0, {"abcd", "eFgh", "ijkl"}}, {1, {"AB.D", "abcd", "eJgh"}},
          {2, {"AB.D", "EFGH", "abcd"}}}, 3},
        // Top-left (-4, -3) in 3 steps truncates toward zero: (-1, -1), (-2, -2).
        {"Move 1. Image", false, 2, 0, 7, -1, 0, 0,
         {{0, {"AghD", "jklH", "IJKL"}}, {1, {"kl.D", "EFGH", "IJKL"}}}, 2},
        // PingPong 2 computes one frame, which stays where it starts.
        {"Move 1. Image", false, 2, 1, 7, -1, 0, 0,
         {{0, {"abcd", "eFgh", "ijkl"}}, {1, {"abcd", "eFgh", "ijkl"}}}, 2},
        // PingPong 2 again: image 2 waits off the frame, at (4, -3).
        {"Move 2. Image", false, 2, 1, 3, 1, 0, 0,
         {{0, {"abcd", "e.gh", "ijkl"}}, {1, {"abcd", "e.gh", "ijkl"}}}, 2},
        // From the right edge (4, 0): 4 - 4 (i + 1) / 4 = 3, 2, 1, on top of image 1.
        {"Move 2. Image", false, 3, 0, 3, 2, 0, 0,
         {{0, {"abcA", "e.gE", "ijkI"}}, {1, {"abAB", "e.EF", "ijIJ"}},
          {2, {"aABd", "eEFG", "iIJK"}}}, 3},
        // Image 1 to the right (1, 2, 3), image 2 in from the left (-3, -2, -1).
        {"Move both Images", false, 3, 0, 2, 6, 0, 0,
         {{0, {"Dabc", "He.g", "Lijk"}}, {1, {".Dab", "GHe.", "KLij"}},
          {2, {"B.Da", "FGHe", "JKLi"}}}, 3},
        // Both to and from the right: image 1 at 1, 2, 3, image 2 at 3, 2, 1, image 2 on top.
        {"Move both Images", false, 3, 0, 2, 2, 1, 0,
         {{0, {".abA", ".e.E", ".ijI"}}, {1, {"..AB", "..EF", "..IJ"}},
          {2, {".ABa", ".EFG", ".IJK"}}}, 3},
        {"Move both Images", false, 3, 0, 2, 2, 0, 0, {{1, {"..ab", "..eF", "..ij"}}}, 3},
        // Zoom, no turn, centre (2, 1.5). Scale 3 / 2 reads x -> 2 + 1.5 (x - 2) = -1 (outside),
        // 0.5, 2, 3.5 and y -> -0.75 (truncated to row 0), 0.75, 2.25; scale 3 only (2, 1) ->
        // (2, 0); the last frame is the colour alone.
        {"Zoom Out", true, 3, 0, -1, -1, 0, 0,
         {{0, {".acd", ".acd", ".ikl"}}, {1, {"....", "..c.", "...."}}, {2, blank}}, 3},
        // Over image 2 in n + 1 = 4 steps: scale 4 / 3 reads x -> -0.67 (column 0), 0.67, 2, 3.33,
        // y -> -0.5, 0.83, 2.17; scale 2 x -> -2, 0, 2, 4, y -> -1.5, 0.5, 2.5; scale 4 only
        // (2, 1) -> (2, -0.5). Image 2's 'C' stays transparent.
        {"Zoom Out", false, 3, 0, -1, -1, 0, 0,
         {{0, {"aacd", "aacd", "iikl"}}, {1, {"ABCD", "EacH", "IikL"}},
          {2, {"ABCD", "EFcH", "IJKL"}}}, 3},
        // Image 2 grows over image 1: scale 3 reads only 'C', which lets 'g' through.
        {"Zoom In", false, 2, 0, -1, -1, 0, 0,
         {{0, {"abcd", "efgh", "ijkl"}}, {1, {"aAcD", "eAgD", "iIKL"}}}, 2},
        // 180 degrees, one frame: scale 2 and a quarter turn (cos -2e-10, sin 1), so source
        // (2 - v, 1.5 + u) with u = 2 (x - 2), v = 2 y - 3; (1, 2) reads 'f' and keeps 'K'.
        {"Zoom Out", false, 1, 0, -1, -1, 0, 180, {{0, {"ABCD", "EdhH", "IbKL"}}}, 1},
        // Zoom In turns the other way (sin -1): source (2 + v, 1.5 - u), cos moving (3, 1) to
        // 0.9999999996 and (3, 2) to 2.9999999996; the latter reads 'C' and keeps 'l'.
        {"Zoom In", false, 1, 0, -1, -1, 0, 180, {{0, {"abcd", "efFA", "ijHl"}}}, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames) + " " +
                     std::to_string(c.direction) + " " + std::to_string(c.option));
        // clang-format off
        const EffectParams params{.frameCount = c.frames, .pingPong = c.pingPong, .value1 = c.angle,
                                  .check1 = c.check1, .colorIndex = kSlot,
                                  .direction = c.direction, .option = c.option};
        // clang-format on
        const Frames made = Made(c.name, params, *images.one, c.effect ? nullptr : images.two);
        images.ExpectFrames(made, c.count, c.expected, c.effect);
    }
}

// Counts that Move refuses, the PingPong shapes, the same frames from any number of threads,
// nothing after a stop. Frames taller than a block of rows, so that rows are shared out too.
TEST(MoveZoom, SequencesAndRefusals) {
    ImagePair tall(8, 40, SaltedColours(0), SaltedColours(1), 7, 9);
    Animation& doc = tall.doc;
    Gif* one = tall.one;
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong; std::string pattern; };
    const Case cases[] = {
        {"Move", true, 1, 1, ""}, {"Move", true, 0, 0, ""}, {"Move 1. Image", false, 1, 0, ""},
        {"Move 2. Image", false, 1, 0, ""}, {"Move both Images", false, 1, 1, ""},
        {"Move", true, 4, 1, "ABBA"}, {"Move both Images", false, 5, 1, "ABCBA"},
        {"Move 2. Image", false, 3, 0, "ABC"}, {"Zoom Out", true, 1, 1, "A"},
        {"Zoom Out", true, 0, 0, ""}, {"Zoom In", false, 4, 1, "ABBA"},
        {"Zoom Out", false, 5, 1, "ABCBA"}, {"Zoom In", false, 1, 0, "A"}};
    // clang-format on
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames));
        // clang-format off
        const EffectParams params{.frameCount = c.frames, .pingPong = c.pingPong, .value1 = -360,
                                  .check1 = 1, .colorIndex = 3, .direction = 3, .option = 5};
        // clang-format on
        ExpectSequence(c.name, params, *one, c.effect ? nullptr : tall.two, pool, c.pattern);
    }
    EXPECT_FALSE(one->trueColor);  // read, never converted
    // The effect's frames keep image 1's colours where it uses the global palette.
    doc.globalPalette = std::exchange(one->palette, EmptyPalette());
    one->usesLocalPalette = 0;
    const FrameChain global = RunNamed("Zoom Out", {.frameCount = 1}, *one, nullptr);
    ASSERT_TRUE(global);
    EXPECT_EQ(EffectivePalette(*global), doc.globalPalette);
    // An angle whose negation does not fit: every pixel is image 1's own or one of image 2's.
    Images small;
    const Frames turned =
        Made("Zoom In", {.frameCount = 2, .value1 = INT32_MIN}, *small.one, small.two);
    ASSERT_EQ(turned.size(), 2u);
    const std::vector<uint32_t> base = small.Drawn({"abcd", "efgh", "ijkl"}, false);
    for (const std::vector<uint32_t>& frame : turned)
        for (std::size_t j = 0; j < base.size(); ++j)
            EXPECT_TRUE(frame[j] == base[j] || (frame[j] & 0xFFFFF0) == 0xB00000) << j;
    // The effect's indices are image 1's picture only once reduced.
    SetIndexedReady(*one, 0);
    EXPECT_TRUE(Made("Move", {.frameCount = 2}, *one).empty());
    EXPECT_TRUE(Made("Zoom Out", {.frameCount = 2}, *one).empty());
}

// The lists, the description that follows "2.Image on top", and the one
// refusal, which comes with a click on a check box: Validate accepts any count and any angle.
TEST(MoveZoom, Setup) {
    SlotRecord move;
    RunSetup(*FindEntry(false, "Move both Images"), move, SetupMode::Init);
    ASSERT_EQ(move.ListSlot(1).items.size(), 8u);
    EXPECT_EQ(move.ListSlot(1).items[3], "Center to Bottom-Right Corner");
    EXPECT_EQ(move.ListSlot(2).items[7], "Top-Left Corner to Center");
    EXPECT_TRUE(move.colorEnabled);
    const std::string oneOnTop = "Moves both Images,with Image 1 on top of Image 2.",
                      twoOnTop = "Moves both Images,with Image 2 on top of Image 1.",
                      twoFrames = "At least two frames are required for this transition !";
    // clang-format off
    struct Case { const char* name; bool effect; SetupMode mode; int32_t frames; bool check;
                  const char* angle; std::string message, description; };
    const Case cases[] = {  // an empty message: accepted
        {"Move both Images", false, SetupMode::Init, 1, false, "", "", oneOnTop},
        {"Move both Images", false, SetupMode::CheckChanged, 2, true, "", "", twoOnTop},
        {"Move both Images", false, SetupMode::CheckChanged, 1, true, "", twoFrames, twoOnTop},
        {"Move both Images", false, SetupMode::CheckChanged, 1, false, "", twoFrames, oneOnTop},
        {"Move both Images", false, SetupMode::Validate, 1, true, "", "", oneOnTop},
        {"Move 1. Image", false, SetupMode::CheckChanged, 1, false, "", twoFrames, ""},
        {"Move", true, SetupMode::CheckChanged, 1, false, "", "", ""},
        {"Zoom Out", false, SetupMode::Validate, 1, false, "720", "", ""}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(static_cast<int>(c.mode)));
        SlotRecord slots;
        slots.frameCount = c.frames;
        const EffectEntry& entry = InitEntry(slots, c.effect, c.name);
        slots.CheckSlot(1).checked = c.check;
        slots.ValueSlot(1).text = c.angle;
        ExpectRefusal(entry, slots, c.mode, c.message, kFrameCountField);
        if (!c.description.empty()) {
            EXPECT_EQ(slots.description, c.description);
        }
    }
}

}  // namespace
}  // namespace anitrope
