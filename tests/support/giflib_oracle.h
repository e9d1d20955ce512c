#pragma once

// What giflib, a decoder independent of ours, makes of a file: tests compare our reader's
// model with it field by field instead of with hand-written guesses.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/gif_builder.h"

namespace anitrope {
struct Animation;
}

namespace anitrope::test {

struct OracleFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int delay = 0;     // 1/100 s; 0 without a graphic control extension
    int disposal = 0;  // 0 without a graphic control extension
    std::optional<int> transparentIndex;
    ColorTable localColors;  // empty without a local colour table
    bool interlaced = false;
    std::vector<uint8_t> pixels;        // width x height indices, display order
    std::vector<std::string> comments;  // comment extensions before the image
};

struct OracleGif {
    int screenWidth = 0;
    int screenHeight = 0;
    int background = 0;
    std::optional<int> loopCount;  // NETSCAPE2.0 or ANIMEXTS1.0 block with sub-block [1 lo hi]
    ColorTable globalColors;       // empty without a global colour table
    std::vector<std::string> trailingComments;  // comment extensions after the last image
    std::vector<OracleFrame> frames;
};

struct OracleResult {
    std::optional<OracleGif> gif;
    std::string error;  // giflib's reason when it refused the file
};

OracleResult ReadWithGiflib(const std::string& path);

// Every field in which `actual`, as LoadGifDocument left it, differs from giflib's reading,
// as "what: expected X, actual Y" lines. The screen is compared with the bounding box of the
// frames when `screenFromFrames`, else with the logical screen descriptor.
std::vector<std::string> OracleDifferences(const OracleGif& expected, const Animation& actual,
                                           bool screenFromFrames);

}  // namespace anitrope::test
