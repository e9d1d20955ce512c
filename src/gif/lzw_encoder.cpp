#include "gif/lzw_encoder.h"

#include <vector>

#include "gif/bit_packer.h"
#include "gif/byte_sink.h"
#include "model/indexed_bitmap.h"

namespace anitrope {
namespace {

constexpr int kMaxCode = 4096;
constexpr std::size_t kSlots = std::size_t{kMaxCode + 1} * 256;
constexpr int kCodeBits = 13;  // codes up to 4096
constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
constexpr uint32_t kLastGeneration = (1u << (32 - kCodeBits)) - 1;

}  // namespace

LzwEncoder::LzwEncoder() : slots_(new uint32_t[kSlots]()) {}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::ClearTable() {
    if (currentGeneration_ == kLastGeneration) {
        // The stamps ran out: empty the table for real and start them over.
        std::fill(slots_.get(), slots_.get() + kSlots, 0u);
        currentGeneration_ = 0;
    }
    ++currentGeneration_;
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
    // A bitmap without rows reads as zeros, like every other reader of it.
    const std::vector<uint8_t> zeros(pixels.HasRows() ? 0 : static_cast<std::size_t>(width));
    auto row = [&](int y) { return pixels.HasRows() ? pixels.Row(y) : zeros.data(); };
    int prefix = row(0)[0];
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = row(y);
        for (int x = y == 0 ? 1 : 0; x < width; ++x) {
            const int c = line[x];
            const std::size_t slot = static_cast<std::size_t>(prefix) * 256 + c;
            const uint32_t entry = slots_[slot];
            if (entry >> kCodeBits == currentGeneration_) {
                prefix = static_cast<int>(entry & kCodeMask);
                continue;
            }
            slots_[slot] = currentGeneration_ << kCodeBits | static_cast<uint32_t>(next);
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
