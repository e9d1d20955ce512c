#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

#include "settings_text.h"

namespace anitrope::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(WindowPlacement, TheDefaultIsTheMiddleTwoThirdsOfTheScreenShown) {
    EXPECT_EQ(PlacementText(WindowPlacement::Default(1200, 900)),
              PlacementText({44, 0, 5, 0, 0, 0, 0, 200, 150, 1000, 750}));
    // Sizes not divisible by six round toward zero.
    EXPECT_EQ(PlacementText(WindowPlacement::Default(1366, 768)),
              PlacementText({44, 0, 5, 0, 0, 0, 0, 227, 128, 1138, 640}));
    // Five sixths of the largest extent must not overflow on the way.
    EXPECT_EQ(PlacementText(WindowPlacement::Default(INT32_MAX, INT32_MAX)),
              PlacementText({44, 0, 5, 0, 0, 0, 0, 357913941, 357913941, 1789569705, 1789569705}));
    EXPECT_EQ(PlacementText(WindowPlacement::Default(0, 0)),
              PlacementText({44, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(WindowPlacement, NoneIsAllZero) {
    const WindowPlacement none = WindowPlacement::None();
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.ToBytes(), Bytes(44, 0));
    EXPECT_FALSE(WindowPlacement::Default(800, 600).IsEmpty());
}

TEST(WindowPlacement, BytesAreElevenLittleEndianFieldsInOrder) {
    const WindowPlacement p{44, 2, 3, -32000, -2, 0x01020304, 7, 10, 20, 810, 620};
    const Bytes expected{
        44,   0,    0,    0,                    // length
        2,    0,    0,    0,                    // flags
        3,    0,    0,    0,                    // show command
        0x00, 0x83, 0xFF, 0xFF,                 // minimised x: -32000
        0xFE, 0xFF, 0xFF, 0xFF,                 // minimised y: -2
        0x04, 0x03, 0x02, 0x01,                 // maximised x
        7,    0,    0,    0,                    // maximised y
        10,   0,    0,    0,    20,   0, 0, 0,  // left, top
        0x2A, 3,    0,    0,    0x6C, 2, 0, 0   // right 810, bottom 620
    };
    EXPECT_EQ(p.ToBytes(), expected);

    WindowPlacement back = WindowPlacement::None();
    ASSERT_TRUE(WindowPlacement::FromBytes(expected, back));
    EXPECT_EQ(PlacementText(back), PlacementText(p));
}

TEST(WindowPlacement, ExtremeFieldsSurviveTheRecord) {
    const WindowPlacement p{INT32_MIN, INT32_MAX, -1, INT32_MIN, INT32_MAX, -1,
                            1,         INT32_MIN, -1, INT32_MAX, 0};
    WindowPlacement back;
    ASSERT_TRUE(WindowPlacement::FromBytes(p.ToBytes(), back));
    EXPECT_EQ(PlacementText(back), PlacementText(p));
}

TEST(WindowPlacement, ARecordOfAnotherSizeIsRefusedAndChangesNothing) {
    const WindowPlacement before = WindowPlacement::Default(1200, 900);
    Bytes full = WindowPlacement::Default(640, 480).ToBytes();
    for (std::size_t size :
         {std::size_t{0}, std::size_t{4}, std::size_t{43}, std::size_t{45}, std::size_t{88}}) {
        Bytes bytes = full;
        bytes.resize(size, 0x11);
        WindowPlacement out = before;
        EXPECT_FALSE(WindowPlacement::FromBytes(bytes, out)) << size;
        EXPECT_EQ(PlacementText(out), PlacementText(before)) << size;
    }
}

}  // namespace
}  // namespace anitrope::test
