#include "gif/lzw_encoder.h"

#include "gif/bit_packer.h"
#include "gif/byte_sink.h"
#include "model/indexed_bitmap.h"

namespace anitrope {
namespace {

constexpr int kMaxCode = 4096;
constexpr std::size_t kSlots = std::size_t{kMaxCode + 1} * 256;

}  // namespace

LzwEncoder::LzwEncoder()
    : codes_(new uint16_t[kSlots]()), generation_(new uint32_t[kSlots]()) {}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::ClearTable() {
    if (++currentGeneration_ == 0) {
        // After 2^32 clears the stamps wrap; start them over for real.
        std::fill(generation_.get(), generation_.get() + kSlots, 0u);
        currentGeneration_ = 1;
    }
}

void LzwEncoder::Encode(const IndexedBitmap& pixels, int width, int height, int bitsPerPixel,
                        ByteSink& out) {
    const int clear = 1 << bitsPerPixel;
    const int end = clear + 1;
    int codeWidth = bitsPerPixel + 1;
    int next = clear + 2;
    BitPacker packer(out);
    ClearTable();
    packer.Put(static_cast<uint32_t>(clear), codeWidth);

    if (width <= 0 || height <= 0) {
        packer.Put(static_cast<uint32_t>(end), codeWidth);
        packer.Flush();
        return;
    }
    int prefix = pixels.Get(0, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = y == 0 ? 1 : 0; x < width; ++x) {
            const int c = pixels.Get(x, y);
            const std::size_t slot = static_cast<std::size_t>(prefix) * 256 + c;
            if (generation_[slot] == currentGeneration_) {
                prefix = codes_[slot];
                continue;
            }
            codes_[slot] = static_cast<uint16_t>(next);
            generation_[slot] = currentGeneration_;
            packer.Put(static_cast<uint32_t>(prefix), codeWidth);
            if (next == kMaxCode) {
                // Code 4096 is never sent: the table starts over in the same step.
                ClearTable();
                packer.Put(static_cast<uint32_t>(clear), codeWidth);
                codeWidth = bitsPerPixel + 1;
                next = clear + 2;
            } else {
                if (next == 1 << codeWidth) ++codeWidth;
                ++next;
            }
            prefix = c;
        }
    }
    packer.Put(static_cast<uint32_t>(prefix), codeWidth);
    packer.Put(static_cast<uint32_t>(end), codeWidth);
    packer.Flush();
}

}  // namespace anitrope
