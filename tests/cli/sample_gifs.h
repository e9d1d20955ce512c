#pragma once

// Small files whose every field differs from its default, so a value printed from the
// wrong place shows.

#include <cstdint>
#include <optional>
#include <vector>

#include "support/gif_builder.h"

namespace anitrope::test {

// 8x6 screen, 4 global colours, background 2, looping 3 times. Frame 1 (comment "first
// frame" in two sub-blocks) fills the screen: delay 25, disposal 2, transparent index 3.
// Frame 2 at 2,1 is 4x3, interlaced, with 16 local colours: delay 7, reserved disposal 5.
// After it a document comment holding a quote, a line break and a byte outside UTF-8.
inline std::vector<uint8_t> TwoFrameGif() {
    GifBuilder gif;
    gif.Header().Screen(
        {.width = 8, .height = 6, .globalColors = DistinctColors(4), .background = 2});
    gif.NetscapeLoop(3).Comment({"first ", "frame"});
    gif.Control({.disposal = 2, .delay = 25, .transparentIndex = 3});
    gif.Image({.width = 8, .height = 6}, std::vector<uint8_t>(48, 1));
    gif.Control({.disposal = 5, .delay = 7});
    const std::vector<uint8_t> pixels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15};
    gif.Image({.left = 2,
               .top = 1,
               .width = 4,
               .height = 3,
               .interlaced = true,
               .localColors = DistinctColors(16)},
              pixels);
    gif.Comment({"say \"hi\"\n\xff"}).Trailer();
    return gif.Bytes();
}

// One 2x2 frame; a looping extension with `loop` when given, none otherwise.
inline std::vector<uint8_t> LoopingGif(std::optional<uint16_t> loop) {
    GifBuilder gif;
    gif.Header().Screen({.width = 2, .height = 2, .globalColors = DistinctColors(2)});
    if (loop) gif.NetscapeLoop(*loop);
    gif.Image({.width = 2, .height = 2}, std::vector<uint8_t>{0, 1, 1, 0}).Trailer();
    return gif.Bytes();
}

}  // namespace anitrope::test
