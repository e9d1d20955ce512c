#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixtures.h"

namespace anitrope {
namespace {

using Picture = std::vector<uint32_t>;

Picture Grey(std::initializer_list<uint32_t> levels, std::size_t transparentAt = SIZE_MAX) {
    Picture out;
    for (uint32_t v : levels) out.push_back(v * 0x010101u | (out.size() == transparentAt ? T : 0));
    return out;
}

// One letter per pixel, row after row (spaces skipped): a letter of `legend` is that pixel,
// '#' the pixel of `fill` at that place, any other the pixel of `base` there.
Picture Layout(const std::string& rows, const std::map<char, uint32_t>& legend,
               const Picture& base = {}, const Picture& fill = {}) {
    Picture out;
    for (char ch : rows) {
        const std::size_t p = out.size();
        if (ch == ' ') continue;
        if (auto it = legend.find(ch); it != legend.end())
            out.push_back(it->second);
        else
            out.push_back(ch == '#' ? fill[p] : base[p]);
    }
    return out;
}

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

// Each entry's first, a middle and its last computed frame, worked out from the rules on tiny
// frames; the whole run as a pattern (equal letters, equal pictures; empty: refused). A tall
// picture, whose rows are shared out, comes out the same with threads and without.
TEST(TextureAndPixelize, Frames) {
    Animation doc;
    // Grey 100 with pixels (0, 0) and (5, 0) transparent.
    Gif* grey = Frame(doc, 8, 7, {0x646464}, 0);
    grey->indexed->Row(0)[5] = 0;
    Gif* cloth = Frame(doc, 14, 4, {0x646464});
    Picture indices, a, b, ramp, ramp2;
    for (uint32_t p = 0; p < 48; ++p) {
        const uint32_t x = p % 8, y = p / 8, r = 5 * x + 30 * y;
        indices.push_back(p);
        a.push_back(Rgb(p * 5, 200 - p, 7));
        b.push_back(Rgb(250 - p * 3, p, 99));
        ramp.push_back(Rgb(r, 255 - r, 16));
    }
    for (uint32_t p = 0; p < 12; ++p) ramp2.push_back(Rgb(20 * (p % 4) + 60 * (p / 4), 91, 254));
    Gif* plain = Frame(doc, 8, 6, {0x123456});
    Gif* one = Frame(doc, 8, 6, a, 11);
    Gif* two = Frame(doc, 8, 6, b, 0);
    Gif* ramped = Frame(doc, 8, 6, ramp, 0);
    Gif* small1 = Frame(doc, 4, 3, ramp2, 0);
    Gif* small2 = Frame(doc, 4, 3, {Rgb(200, 100, 250)});
    Picture aT = a, bNoT = b;
    aT[11] |= T;

    // Weave: c = 128 / 3 = 42, t = 21; every pixel is written, the same way each frame.
    const std::string weave = "DDDDDDDDDDDDDD ddddddddLldDdl llllllllLldDdl LLLLLLLLLldDdl";
    auto woven = [&](uint32_t dc, uint32_t dt, uint32_t lt, uint32_t lc) {
        return Layout(weave, {{'D', dc * 0x010101},
                              {'d', dt * 0x010101},
                              {'l', lt * 0x010101},
                              {'L', lc * 0x010101}});
    };
    // clang-format off
    struct Case { const char* name; Gif* one; Gif* two; EffectParams params;
                  std::vector<std::pair<int, Picture>> frames; std::string pattern; };
    const Case cases[] = {
        // s = max(8 / 3, 7 / 3, 6) = 6, d = 33, e = 16, g = 1, 2, 2; a groove at x = 6, y = 6.
        {"Checkers", grey, nullptr, {.frameCount = 5, .pingPong = 1},
         {{0, Grey({100, 100, 100, 116, 116, 67, 67, 116, 100, 100, 100, 116, 116, 67, 67, 116,
                    100, 100, 100, 116, 116, 67, 67, 116, 116, 116, 116, 132, 132, 83, 83, 132,
                    116, 116, 116, 132, 132, 83, 83, 132, 67, 67, 67, 83, 83, 34, 34, 83,
                    67, 67, 67, 83, 83, 34, 34, 83}, 0)},
          {1, Grey({100, 116, 116, 132, 83, 34, 34, 83, 116, 132, 132, 148, 99, 50, 50, 99,
                    116, 132, 132, 148, 99, 50, 50, 99, 132, 148, 148, 164, 115, 66, 66, 115,
                    83, 99, 99, 115, 66, 17, 17, 66, 34, 50, 50, 66, 17, 0, 0, 17,
                    34, 50, 50, 66, 17, 0, 0, 17}, 0)},
          {2, Grey({100, 132, 132, 148, 50, 1, 1, 50, 132, 164, 164, 180, 82, 33, 33, 82,
                    132, 164, 164, 180, 82, 33, 33, 82, 148, 180, 180, 196, 98, 49, 49, 98,
                    50, 82, 82, 98, 0, 0, 0, 0, 1, 33, 33, 49, 0, 0, 0, 0,
                    1, 33, 33, 49, 0, 0, 0, 0}, 0)}}, "ABCBA"},
        {"Checkers", grey, nullptr, {.frameCount = 1, .pingPong = 1}, {}, "A"},
        {"Weave", cloth, nullptr, {.frameCount = 3},
         {{0, woven(58, 79, 121, 142)}, {1, woven(16, 58, 142, 184)}, {2, woven(0, 37, 163, 226)}},
         "ABC"},
        {"Weave", cloth, nullptr, {.frameCount = 0}, {}, ""},
        // Top/Bottom, bands 2 wide, a = 6 / 3 = 2 rows a frame; colour 300 is outside: index 0.
        {"Fringe", plain, nullptr, {.frameCount = 3, .value1 = 2, .colorIndex = 300, .direction = 0},
         {{0, Layout("##..##.. ##..##.. ........ ........ ..##..## ..##..##", {{'#', 0}}, indices)},
          {1, Layout("##..##.. ##..##.. ######## ######## ..##..## ..##..##", {{'#', 0}}, indices)},
          {2, Picture(48, 0)}}, "ABC"},
        // Left/Right, bands 4 rows (the second cut to 2), a = 8 / 3 = 2: never all covered.
        {"Fringe", plain, nullptr,
         {.frameCount = 5, .pingPong = 1, .value1 = 4, .colorIndex = 7, .direction = 1},
         {{0, Layout("##...... ##...... ##...... ##...... ......## ......##", {{'#', 7}}, indices)},
          {1, Layout("####.... ####.... ####.... ####.... ....#### ....####", {{'#', 7}}, indices)},
          {2, Layout("######.. ######.. ######.. ######.. ..###### ..######", {{'#', 7}}, indices)}},
         "ABCBA"},
        {"Fringe", plain, nullptr, {.frameCount = 2, .value1 = 0}, {{1, indices}}, "AA"},
        {"Fringe", plain, nullptr, {.frameCount = 2, .value1 = -3}, {{1, indices}}, "AA"},
        // Bands 3 wide (the third cut to 2); image 2's pixels lose their transparent bit.
        {"Fringe", one, two, {.frameCount = 3, .value1 = 3, .direction = 0},
         {{0, Layout("###...## ###...## ........ ........ ...###.. ...###..", {}, aT, bNoT)},
          {1, Layout("###...## ###...## ######## ######## ...###.. ...###..", {}, aT, bNoT)},
          {2, bNoT}}, "ABC"},
        {"Fringe", one, two, {.frameCount = 1, .value1 = 3}, {}, ""},
        // Blocks 2, 3, 4 square (8 / 18 raised to 2, growing by 1); the 3 and 4 blocks are cut
        // at the right or bottom. Each channel truncated on its own; no transparent bit.
        {"Pixelize", ramped, nullptr, {.frameCount = 3},
         {{0, Layout("AABBCCDD AABBCCDD EEFFGGHH EEFFGGHH IIJJKKLL IIJJKKLL",
                     {{'A', Rgb(17, 237, 16)}, {'B', Rgb(27, 227, 16)}, {'C', Rgb(37, 217, 16)},
                      {'D', Rgb(47, 207, 16)}, {'E', Rgb(77, 177, 16)}, {'F', Rgb(87, 167, 16)},
                      {'G', Rgb(97, 157, 16)}, {'H', Rgb(107, 147, 16)}, {'I', Rgb(137, 117, 16)},
                      {'J', Rgb(147, 107, 16)}, {'K', Rgb(157, 97, 16)}, {'L', Rgb(167, 87, 16)}})},
          {1, Layout("AAABBBCC AAABBBCC AAABBBCC DDDEEEFF DDDEEEFF DDDEEEFF",
                     {{'A', Rgb(35, 220, 16)}, {'B', Rgb(50, 205, 16)}, {'C', Rgb(62, 192, 16)},
                      {'D', Rgb(125, 130, 16)}, {'E', Rgb(140, 115, 16)}, {'F', Rgb(152, 102, 16)}})},
          {2, Layout("AAAABBBB AAAABBBB AAAABBBB AAAABBBB CCCCDDDD CCCCDDDD",
                     {{'A', Rgb(52, 202, 16)}, {'B', Rgb(72, 182, 16)}, {'C', Rgb(142, 112, 16)},
                      {'D', Rgb(162, 92, 16)}})}}, "ABC"},
        {"Pixelize", ramped, nullptr, {.frameCount = 1, .pingPong = 1}, {}, ""},
        {"Pixelize", ramped, nullptr, {.frameCount = 1}, {}, "A"},
        {"Pixelize", ramped, nullptr, {.frameCount = 4, .pingPong = 1}, {}, "ABBA"},
        // h = 2: A0 plain 2 x 2 averages; step 1 (3 x 3 blocks, the right one cut to 1 x 3)
        // adds the other image's half per pixel and divides by 13 and 4; blue overflows to 255.
        {"Pixelize", small1, small2, {.frameCount = 5, .pingPong = 1},
         {{0, Layout("LLRR LLRR llrr", {{'L', Rgb(40, 91, 254)}, {'R', Rgb(80, 91, 254)},
                                        {'l', Rgb(130, 91, 254)}, {'r', Rgb(170, 91, 254)}})},
          {1, Layout("LLLR LLLR LLLR", {{'L', Rgb(124, 97, 255)}, {'R', Rgb(165, 105, 255)}})},
          {2, Layout("LLLR LLLR LLLR", {{'L', Rgb(166, 100, 255)}, {'R', Rgb(195, 108, 255)}})},
          {3, Picture(12, Rgb(200, 100, 250))}}, "ABCD"},
        {"Pixelize", small1, small2, {.frameCount = 1}, {}, ""},
        {"Pixelize", small1, small2, {.frameCount = 2}, {}, "AB"}};
    // clang-format on
    Gif* tall1 = Frame(doc, 24, 70, MixedColours(0), 5);
    Gif* tall2 = Frame(doc, 24, 70, MixedColours(1));
    JobScheduler pool(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.params.frameCount) + " " +
                     std::to_string(c.params.pingPong) + " " + std::to_string(c.params.value1));
        const Frames pictures = Made(c.name, c.params, *c.one, c.two);
        ASSERT_NO_FATAL_FAILURE(ExpectPattern(pictures, c.pattern));
        for (const auto& [index, expected] : c.frames)
            EXPECT_EQ(pictures[static_cast<std::size_t>(index)], expected) << "frame " << index;
        const Gif* second = c.two ? tall2 : nullptr;
        const Frames serial = Pictures(RunNamed(c.name, c.params, *tall1, second));
        EXPECT_EQ(serial.size(), c.pattern.size());
        ExpectThreadsAgree(c.name, c.params, *tall1, second, pool, serial);
    }
    EXPECT_FALSE(grey->trueColor);  // read, never converted
    // Image 2 keeping another true colour after its reduction: the blocks are its indices'.
    AllocTrueColor(*small2);  // zeroed: black
    SetIndexedReady(*small2, 1);
    EXPECT_EQ(Made("Pixelize", {.frameCount = 2}, *small1, small2).back(),
              Picture(12, Rgb(200, 100, 250)));
}

TEST(TextureAndPixelize, Setup) {
    const std::string width = "Width of fringe must be between 0 and half-width of image (=4)",
                      pingPong = "Number of Frames must be larger than 2 for use of PingPong",
                      twoFrames = "At least two frames are required for this transition !";
    // clang-format off
    struct Case { const char* name; bool effect; const char* value1; bool pingPong;
                  int32_t frames; std::string message; int field; };
    const Case cases[] = {  // an empty message: accepted; images are 9 pixels wide
        {"Fringe", true, "5", false, 10, width, 1}, {"Fringe", false, "-1", false, 10, width, 1},
        {"Fringe", true, "4", false, 1, "", 0}, {"Fringe", false, "0", false, 1, twoFrames, 0},
        {"Pixelize", true, "", true, 1, pingPong, kFrameCountField},
        {"Pixelize", true, "", true, 2, "", 0}, {"Pixelize", true, "", false, 1, "", 0},
        {"Pixelize", false, "", false, 1, twoFrames, kFrameCountField}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.value1 + " " + std::to_string(c.frames));
        SlotRecord slots;
        slots.frameCount = c.frames;
        slots.imageWidth = 9;
        const EffectEntry& entry = InitEntry(slots, c.effect, c.name);
        if (*c.value1) slots.ValueSlot(1).text = c.value1;
        slots.pingPong.checked = c.pingPong;
        ExpectRefusal(entry, slots, SetupMode::Validate, c.message, c.field);
    }
    // The width starts at 1; transparent fringes take no colour, and clearing the box gives
    // the colour back.
    SlotRecord slots;
    const EffectEntry& fringe = *FindEntry(true, "Fringe");
    RunSetup(fringe, slots, SetupMode::Init);
    EXPECT_EQ(slots.Value(1), 1);
    slots.CheckSlot(1).checked = true;
    RunSetup(fringe, slots, SetupMode::CheckChanged);
    EXPECT_FALSE(slots.colorEnabled);
    slots.CheckSlot(1).checked = false;
    RunSetup(fringe, slots, SetupMode::CheckChanged);
    EXPECT_TRUE(slots.colorEnabled);
}

}  // namespace
}  // namespace anitrope
