#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"
#include "effects/effect_families.h"

namespace anitrope {
namespace {

// Image 1's pixel k (row by row, 5 x 4) is index k, colour 0xA00000 + k, drawn 'a' + k; image
// 2's is 0xB00000 + k, drawn 'A' + k. Index 7 ('h') is transparent in image 1, index 12 ('M')
// in image 2. '.' is the colour: image 1's slot 30, 0xC0C0C0.
constexpr int32_t kSlot = 30;

// A transparent pixel of image 1 (the base of Tilt In) keeps its bit; image 2's shows what
// lies below it.
struct Images : LetterImages {
    Images()
        : LetterImages(
              {.w = 5, .h = 4, .slot = kSlot, .clearOne = 7, .clearTwo = 12, .markTwo = false}) {}
};

// Every computed frame of each entry, worked out from the formulas on 5 x 4 (centre (2, 2);
// the ten-digit constants put the equator's source row at trunc(3 * 1.5707963268 / 3.141592654)
// = trunc(1.4999999998) = 1). Transparent 'h' and 'M' leave what lies below them.
TEST(SphereSatellite, ComputedFrames) {
    Images images;
    using Rows = std::vector<std::string>;
    const Rows blank{".....", ".....", ".....", "....."};
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames; std::array<int32_t, 5> values;
                  std::array<int32_t, 4> checks; int32_t side; std::vector<Rows> expected; };
    const Case cases[] = {
        // R = 100 * 4 / 200 = 2, turning left: rho = 0, -2.094, -4.189. Frame 0, row 1 (dy 1):
        // latitude pi/3, source row trunc(0.99999999987) = 0, longitudes 0.955, 1.571, 2.186 ->
        // columns trunc(theta * 5 / 2 pi) = 0, 1, 1.
        {"Roll Sphere", true, 3, {100}, {1}, 0,
         {{"..b..", ".abb.", "ffgg.", ".fgg."}, {"..c..", ".ccd.", "g..ij", "...i."},
          {"..e..", ".eea.", "ijjjf", ".jjf."}}},
        // R = 3, turning right; frame 2 reads theta + 2 pi - 4.189.
        {"Roll Sphere", true, 3, {150}, {0}, 0,
         {{"aabbc", "ffggg", "ffggg", "ffggg"}, {"deeea", "ijjjf", "jjjjf", "ijjjf"},
          {"cccdd", "...ii", "...ii", "...ii"}}},
        // R = 6: every pixel on the sphere, latitudes 1.23 ... 1.74 all on source row 1.
        {"Roll Sphere", true, 2, {300}, {1}, 0,
         {{"fgggg", "fgggg", "fgggg", "fgggg"}, {"iiiij", "iiiij", "iiiij", "iiiij"}}},
        {"Roll Sphere", true, 2, {0}, {1}, 0, {blank, blank}},
        // Half a turn each: image 1 over [rho, rho + pi], image 2 over the rest, columns
        // trunc((theta - base) * 5 / pi).
        {"Roll Sphere", false, 3, {150}, {0}, 0,
         {{"abcde", "gg.ii", "gg.ii", "gg.ii"}, {"CDEEa", "HIJJf", "IIJJf", "HIJJf"},
          {"eAABC", "jFFGH", "jFFGG", "jFFGH"}}},
        // Half-way image 2 faces the viewer.
        {"Roll Sphere", false, 2, {150}, {1}, 0,
         {{"abcde", "gg.ii", "gg.ii", "gg.ii"}, {"ABCDE", "GGHII", "GGHII", "GGHII"}}},
        // Left hinge, no overshoot. Frame 1: f = 1/3, g = 2/3, beta = 1.8417 * cos(0.2712) *
        // 0.5747 - pi/2 = -0.5512; column x = 1 has b = 1, Q = 1/9 + tan 0.5512 = 0.7260,
        // m1 = 1.5 / (0.7260 * 0.8519) = 2.43 -> image column 2.
        {"Tilt In", true, 3, {0}, {}, 0,
         {blank, {"ace..", "f.j..", "kmo..", "prt.."}, {"abcd.", "fg.i.", "klmn.", "pqrs."}}},
        // Top hinge, one half-wave: in frame 2 the door has swung past flat (beta -2.02).
        {"Tilt In", true, 3, {1}, {}, 2,
         {blank, {"abcde", "fg.ij", "pqrs.", "....."}, {"abcde", "fg.ij", "klmno", "pqrst"}}},
        // Image 2 over image 1, right hinge, three half-waves (beta -1.13, -2.28, -1.18).
        {"Tilt In", false, 3, {3}, {}, 1,
         {{"aACDE", "fFHIJ", "kKmNO", "pPRST"}, {"FFBCE", "FFGHJ", "KKLnO", "PPQRT"},
          {"aBCDE", "fGHIJ", "kLmNO", "pQRST"}}},
        {"Tilt In", false, 3, {0}, {}, 3,
         {{"abcde", "fghij", "kBCDE", "KLrNO"}, {"abcde", "ABCDE", "KLmNO", "PQRST"},
          {"ABCDE", "FGHIJ", "KLmNO", "PQRST"}}},
        // Flat satellite at half size: b = 1, hh = hw = 1, Rs = max(2, max(1, 2)) = 2. Frame 0
        // is in front at the centre, reading column 2 + trunc(2 (x - 2)); frame 1 (P = -1,
        // Q = 1.73) behind, shifted right. The sphere turns left: rho = -2.094 reads 'c' above.
        {"Roll Sphere with Satellite", false, 3, {65, 0, 0, 50, 50}, {1, 0, 1, 1}, 0,
         {{".....", ".ACE.", ".KgO.", "..l.."}, {".....", "..cBC", ".g.j.", "..m.."},
          {".....", "CDe..", ".ijf.", "..o.."}}},
        {"Roll Sphere with Satellite", false, 3, {65, -35, 125, 60, 40}, {0, 0, 1, 1}, 0,
         {{".....", "..b..", "Bfg..", "L.l.."}, {".....", "FGHJ.", "PQRT.", "..o.."},
          {".....", "..cGH", ".gPjR", "..m.."}}},
        // A full-size ring, Rs = 2, over the sphere b = 1; its front hides the sphere except
        // where 'M' lets it through. The pole (2, 0) reads row 2 + trunc(-1.5) = 1.
        {"Roll Sphere with Satellite", false, 3, {50, 0, 0, 100, 100}, {1, 0, 1, 0}, 0,
         {{"..F..", ".OKK.", "NOKKL", ".OKK."}, {"..I..", ".LNN.", ".gNNO", ".LNN."},
          {"..G..", ".LLN.", "KLLf.", ".LLN."}}},
        {"Roll Sphere with Satellite", false, 3, {50, -40, -110, 100, 100}, {0, 1, 1, 0}, 0,
         {{".....", ".LNN.", ".NNNO", ".NNO."}, {"..O..", ".OOK.", "NOKKL", ".KKK."},
          {"..K..", ".LLL.", "KLLj.", ".LmN."}}},
        // No width: the sphere alone.
        {"Roll Sphere with Satellite", false, 3, {50, 0, 0, 0, 100}, {1, 0, 1, 0}, 0,
         {{".....", "..b..", ".fg..", "..l.."}, {".....", "..c..", ".g.j.", "..m.."},
          {".....", "..e..", ".ijf.", "..o.."}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.values[0]) + " " +
                     std::to_string(c.side));
        // clang-format off
        const EffectParams params{.frameCount = c.frames, .value1 = c.values[0],
                                  .value2 = c.values[1], .value3 = c.values[2],
                                  .value4 = c.values[3], .value5 = c.values[4],
                                  .check1 = c.checks[0], .check2 = c.checks[1],
                                  .check3 = c.checks[2], .check4 = c.checks[3],
                                  .colorIndex = kSlot, .direction = c.side};
        // clang-format on
        const FrameChain chain =
            RunNamed(c.name, params, *images.one, c.effect ? nullptr : images.two);
        const Frames made = Pictures(chain);
        ASSERT_EQ(made.size(), c.expected.size());
        for (std::size_t i = 0; i < made.size(); ++i)
            EXPECT_EQ(made[i], images.Drawn(c.expected[i], c.effect)) << i;
        // The frames are copies of image 1 and keep its transparency.
        EXPECT_TRUE(chain->transparent && chain->transparentIndex == 7);
    }
}

// On 100 x 100 with the defaults: b = 32, Rs = 50. Along the centre row the ring's front reads
// row 50 + trunc(-2e-10) = 50 and column trunc(asin(dx / 50) * 100 / 0.628); left of the centre
// its longitude is past the band, so the sphere shows: (49, 50) reads image 1 at column
// trunc((1.5708 - 0.03126) * 100 / 2 pi) = 24, row trunc(99 * 1.5708 / pi) = 49.
TEST(SphereSatellite, LargerPair) {
    const std::vector<uint32_t> a = Shades(0xA00000);
    ImagePair pair(100, 100, a, Shades(0xB00000), -1, -1);
    Animation& doc = pair.doc;
    const Gif* one = pair.one;
    const Gif* two = pair.two;
    auto at = [](uint32_t base, int x, int y) {
        return base + static_cast<uint32_t>(y * 100 + x) % 256;
    };
    // clang-format off
    EffectParams params{.frameCount = 2, .value1 = 65, .value4 = 10, .value5 = 20, .check1 = 1,
                        .check3 = 1, .colorIndex = 0};
    // clang-format on
    const Frames ring = Made("Roll Sphere with Satellite", params, *one, two);
    ASSERT_EQ(ring.size(), 2u);
    EXPECT_EQ(ring[0][50 * 100 + 50], at(0xB00000, 0, 50));
    EXPECT_EQ(ring[0][50 * 100 + 55], at(0xB00000, 15, 50));  // asin(0.1) -> 15.9
    EXPECT_EQ(ring[0][50 * 100 + 49], at(0xA00000, 24, 49));
    // b = 75 > Rs = 50: a ring inside the sphere is refused, a flat satellite (Rs 85) is not.
    params.value1 = 150;
    EXPECT_TRUE(Made("Roll Sphere with Satellite", params, *one, two).empty());
    params.check4 = 1;
    EXPECT_EQ(Made("Roll Sphere with Satellite", params, *one, two).size(), 2u);
    // Radius 100 % on 100 x 60 image: R = 30 reaches the top row at its centre only.
    const Gif* wide = Frame(doc, 100, 60, a);
    const Frames touching =
        Made("Roll Sphere", {.frameCount = 1, .value1 = 100, .colorIndex = 255}, *wide);
    ASSERT_EQ(touching.size(), 1u);
    for (int x = 0; x < 100; ++x) EXPECT_EQ(touching[0][x] != 255, x == 50) << x;
    // A radius whose square does not fit 64 bits: R = (2^31 - 1) * 300 / 200. The corner is on
    // the sphere 4.7e-8 off its equator: row trunc(149.49999) = 149, column trunc(74.99999) = 74,
    // index (149 * 300 + 74) mod 256 = 230.
    const Gif* large = Frame(doc, 300, 300, a);
    const Frames huge =
        Made("Roll Sphere", {.frameCount = 1, .value1 = INT32_MAX, .colorIndex = 255}, *large);
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0][0], 230u);
}

// PingPong shapes, the same frames from any number of threads, nothing after a stop; frames
// taller than a block of rows so that rows are shared out too.
TEST(SphereSatellite, SequencesAndRefusals) {
    ImagePair tall(24, 40, SaltedColours(0), SaltedColours(1), 7, 9);
    Gif* one = tall.one;
    // clang-format off
    struct Case { const char* name; bool effect; int32_t frames, pingPong, check4;
                  std::string pattern; };
    const Case cases[] = {
        {"Roll Sphere", true, 4, 1, 0, "ABBA"}, {"Roll Sphere", false, 5, 1, 0, "ABCBA"},
        {"Roll Sphere", true, 0, 0, 0, ""}, {"Tilt In", true, 5, 1, 0, "ABCBA"},
        {"Tilt In", false, 4, 1, 0, "ABBA"}, {"Tilt In", false, 1, 1, 0, "A"},
        {"Roll Sphere with Satellite", false, 4, 1, 0, "ABBA"},
        {"Roll Sphere with Satellite", false, 5, 1, 1, "ABCBA"},
        {"Roll Sphere with Satellite", false, 0, 0, 1, ""}};
    // clang-format on
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.frames));
        // clang-format off
        const EffectParams params{.frameCount = c.frames, .pingPong = c.pingPong, .value1 = 60,
                                  .value2 = 20, .value3 = 30, .value4 = 60, .value5 = 50,
                                  .check1 = 1, .check3 = 1, .check4 = c.check4, .colorIndex = 3,
                                  .direction = 2};
        // clang-format on
        ExpectSequence(c.name, params, *one, c.effect ? nullptr : tall.two, pool, c.pattern);
    }
    EXPECT_FALSE(one->trueColor);  // read, never converted
    // A transition without its second image; the effects' indices before their reduction.
    EffectProgress progress;
    EXPECT_FALSE(ComputeSatellite(one, nullptr, {.frameCount = 2}, progress));
    SetIndexedReady(*one, 0);
    EXPECT_TRUE(Made("Roll Sphere", {.frameCount = 2}, *one).empty());
    EXPECT_TRUE(Made("Tilt In", {.frameCount = 2}, *one).empty());
}

// Strips and single pixels with extreme values: each pixel is the colour or one of the
// sources' own, and nothing is read outside them (the test build checks every access).
TEST(SphereSatellite, OddSizes) {
    // clang-format off
    struct Case { const char* name; bool effect; int32_t v1, v2, v3, v4, v5, check4, side; };
    const Case cases[] = {
        {"Roll Sphere", true, INT32_MAX, 0, 0, 0, 0, 0, 0},
        {"Roll Sphere", false, 300, 0, 0, 0, 0, 0, 0},
        {"Tilt In", true, INT32_MAX, 0, 0, 0, 0, 0, 3}, {"Tilt In", false, 2, 0, 0, 0, 0, 0, 7},
        {"Roll Sphere with Satellite", false, 0, INT32_MIN, INT32_MIN, INT32_MAX, 100, 0, 0},
        {"Roll Sphere with Satellite", false, INT32_MAX, 45, 60, 100, 100, 1, 0},
        {"Roll Sphere with Satellite", false, 100, 45, -60, 100, 100, 1, -1}};
    // clang-format on
    for (const auto& [w, h] : {std::pair{1u, 7u}, std::pair{7u, 1u}, std::pair{1u, 1u}}) {
        const ImagePair pair(w, h, Shades(0xA00000, kSlot), Shades(0xB00000), -1, -1);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(w) + "x" + std::to_string(h));
            // clang-format off
            const EffectParams params{.frameCount = 3, .value1 = c.v1, .value2 = c.v2,
                                      .value3 = c.v3, .value4 = c.v4, .value5 = c.v5,
                                      .check4 = c.check4, .colorIndex = kSlot, .direction = c.side};
            // clang-format on
            const Frames made = Made(c.name, params, *pair.one, c.effect ? nullptr : pair.two);
            ASSERT_EQ(made.size(), 3u);
            for (const std::vector<uint32_t>& frame : made)
                for (uint32_t p : frame) {
                    const uint32_t k = p & 0xFF;
                    const bool source = k < w * h && (p >> 20 == 0xA || p >> 20 == 0xB);
                    EXPECT_TRUE(c.effect ? p == kSlot || p < w * h : p == 0xC0C0C0 || source)
                        << std::hex << p;
                }
        }
    }
}

// The descriptions' second lines, what Init leaves in the slots, the start positions with the
// angles each writes into "Satellite Angle" and "Satellite Tilt Angle", and the refusals.
TEST(SphereSatellite, Setup) {
    SlotRecord satellite, sphere;
    const EffectEntry& entry = *FindEntry(false, "Roll Sphere with Satellite");
    RunSetup(entry, satellite, SetupMode::Init);
    RunSetup(*FindEntry(true, "Roll Sphere"), sphere, SetupMode::Init);
    EXPECT_EQ(satellite.description,
              "1.Image = Sphere, 2.Image = Satellite.\n"
              "'Radius' is specified in percent of the smaller image's dimension");
    EXPECT_EQ(sphere.description,
              "Projects image onto a rolling Sphere\n"
              "'Radius' is specified in percent of the smaller image's dimension.");
    const char* texts[] = {"65", "0", "0", "10", "20"};  // the angles of "Center-Front"
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(satellite.ValueSlot(n).text, texts[n - 1]) << n;
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(satellite.CheckSlot(n).checked, n == 1 || n == 3) << n;
    // clang-format off
    const std::pair<std::string, std::array<const char*, 2>> positions[] = {
        {"Center-Front", {"0", "0"}}, {"Top-Left-Front", {"60", "50"}},
        {"Top-Right-Front", {"60", "-50"}}, {"Bottom-Left-Front", {"-60", "-50"}},
        {"Bottom-Right-Front", {"-60", "50"}}, {"Top-Left-Back", {"120", "50"}},
        {"Top-Right-Back", {"120", "-50"}}, {"Bottom-Left-Back", {"-120", "-50"}},
        {"Bottom-Right-Back", {"-120", "50"}}};
    // clang-format on
    const SlotRecord::ListState& list = satellite.ListSlot(1);
    EXPECT_EQ(list.label, "Start Position");
    ASSERT_EQ(list.items.size(), std::size(positions));
    EXPECT_EQ(list.selection, 0);
    for (int item = 0; item < 9; ++item) {
        const auto& [name, angles] = positions[item];
        EXPECT_EQ(list.items[static_cast<std::size_t>(item)], name);
        satellite.SelectListItem(1, item);
        EXPECT_EQ(RunSetup(entry, satellite, SetupMode::ComboChanged), 1);
        EXPECT_EQ(satellite.ValueSlot(3).text, angles[0]) << name;
        EXPECT_EQ(satellite.ValueSlot(2).text, angles[1]) << name;
    }
    satellite.SelectListItem(1, -1);  // nothing selected: the angles stay
    RunSetup(entry, satellite, SetupMode::ComboChanged);
    EXPECT_EQ(satellite.ValueSlot(3).text, "-120");

    const std::string satelliteName = "Roll Sphere with Satellite";
    // clang-format off
    struct Case { std::string name; bool effect; std::array<const char*, 5> values; int field;
                  std::string message; };
    // Field 0: accepted. Each message is checked once; later rows check only the field.
    const Case cases[] = {
        {"Roll Sphere", true, {"-1"}, 1, "The 'Radius' in percent must be greater or equal to 0."},
        {"Roll Sphere", false, {"0"}, 0, ""},
        {"Tilt In", false, {"-1"}, 1, "The 'Nr. Halfwaves' must be greater or equal to 0."},
        {"Tilt In", true, {"0"}, 0, ""},
        {satelliteName, false, {"-1", "", "", "200", "200"}, 1,
         "The 'Sphere-Radius' in percent must be greater or equal to 0."},
        {satelliteName, false, {"0", "", "", "101", "-1"}, 4,
         "The 'Ring Image width' in percent must be in range 0 to 100."},
        {satelliteName, false, {"0", "", "", "-1", "50"}, 4, ""},
        {satelliteName, false, {"0", "", "", "0", "101"}, 5,
         "The 'Ring Image height' in percent must be in range 0 to 100."},
        {satelliteName, false, {"0", "-999", "999", "100", "0"}, 0, ""}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.values[0]);
        const EffectEntry& e = *FindEntry(c.effect, c.name);
        SlotRecord slots;
        RunSetup(e, slots, SetupMode::Init);
        for (int n = 1; n <= 5; ++n)
            if (const char* text = c.values[static_cast<std::size_t>(n - 1)])
                slots.ValueSlot(n).text = text;
        ExpectVerdict(e, slots, SetupMode::Validate, c.field != 0, c.field, c.message);
    }
}

}  // namespace
}  // namespace anitrope
