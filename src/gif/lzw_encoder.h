#pragma once

#include <cstdint>
#include <memory>

namespace anitrope {

class ByteSink;
class IndexedBitmap;

// GIF LZW compression. The string table maps (prefix code, pixel value) to a code through a
// small open-addressing hash table; it assigns exactly the codes a table indexed directly by
// prefix x 256 + pixel would, so the stream is the same. The table is emptied by bumping a
// generation number stored in every slot instead of clearing it.
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

    std::unique_ptr<uint64_t[]> slots_;  // generation 0 is never live
    uint64_t currentGeneration_ = 0;
};

}  // namespace anitrope
