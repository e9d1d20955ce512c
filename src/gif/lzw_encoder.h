#pragma once

#include <cstdint>
#include <memory>

namespace anitrope {

class ByteSink;
class IndexedBitmap;

// GIF LZW compression with a direct table: one slot per (prefix code, pixel value). The
// table is emptied by bumping a generation number instead of clearing its 4097 x 256 slots,
// which gives the same codes as a cleared table at a fraction of the cost. A slot packs the
// generation above the 13-bit code, so a lookup touches one word.
//
// Stream shape: a clear code first; the width grows once the next code reaches a power of
// two; when the next code reaches 4096 a clear code follows at width 12 and the table starts
// over; the last string, the end code, and sub-blocks of at most 255 bytes.
class LzwEncoder {
public:
    LzwEncoder();
    ~LzwEncoder();
    LzwEncoder(const LzwEncoder&) = delete;
    LzwEncoder& operator=(const LzwEncoder&) = delete;

    // Writes the data sub-blocks of the pixels, row by row, without the minimum code size
    // byte and without the block terminator.
    void Encode(const IndexedBitmap& pixels, int width, int height, int bitsPerPixel,
                ByteSink& out);

private:
    void ClearTable();

    std::unique_ptr<uint32_t[]> slots_;  // generation << 13 | code; generation 0 is never live
    uint32_t currentGeneration_ = 0;
};

}  // namespace anitrope
