#pragma once

// Whole files with many features at once, for tests that check a reader over everything a
// file can hold rather than one block at a time.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace anitrope::test {

struct SampleGif {
    std::vector<uint8_t> bytes;
    std::size_t firstDataStart = 0;      // just after the first descriptor and its table
    std::vector<std::size_t> imageEnds;  // offset after each image's terminator
};

// Four frames and most kinds of block: looping, multi-sub-block comments and application
// data, graphic controls, local tables, interlace, small sub-blocks, a trailing comment.
// Frame pixels are CountingPixels(120, 8), (81, 32, 3), (15, 8, 1) and (120, 4, 2).
SampleGif FeatureSampleGif();

// A valid file drawn from `seed`: 1-5 frames of random geometry, tables, interlace, graphic
// controls, comments, application and plain text blocks, sub-block sizes and clear-code
// habits. Only blocks that every conforming decoder reads alike.
std::vector<uint8_t> RandomGif(uint32_t seed);

}  // namespace anitrope::test
