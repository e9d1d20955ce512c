#include "gif/lzw_encoder.h"

#include <vector>

#include "gif/bit_packer.h"
#include "gif/byte_sink.h"
#include "model/indexed_bitmap.h"

namespace anitrope {
namespace {

constexpr int kMaxCode = 4096;
// At most 4096 strings live at once, so a table of twice that many slots stays half empty and
// probes stay short; at 64 KiB it also stays in the cache, which a table indexed directly by
// (prefix, pixel) does not.
constexpr int kSlotBits = 13;
constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
// A slot: generation << 34 | (prefix << 8 | pixel) << 13 | code.
constexpr int kCodeBits = 13;
constexpr int kKeyBits = 21;
constexpr uint64_t kCodeMask = (uint64_t{1} << kCodeBits) - 1;
constexpr uint64_t kKeyMask = (uint64_t{1} << kKeyBits) - 1;
constexpr int kGenerationShift = kCodeBits + kKeyBits;
constexpr uint64_t kLastGeneration = (uint64_t{1} << (64 - kGenerationShift)) - 1;

std::size_t SlotOf(uint32_t key) {
    return (key * 2654435761u) >> (32 - kSlotBits);  // Fibonacci hashing
}

}  // namespace

LzwEncoder::LzwEncoder() : slots_(new uint64_t[kSlots]()) {}

LzwEncoder::~LzwEncoder() = default;

void LzwEncoder::ClearTable() {
    if (currentGeneration_ == kLastGeneration) {
        // The stamps ran out: empty the table for real and start them over.
        std::fill(slots_.get(), slots_.get() + kSlots, uint64_t{0});
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
            const auto key = static_cast<uint32_t>(prefix << 8 | c);
            std::size_t slot = SlotOf(key);
            bool found = false;
            for (;; slot = (slot + 1) & (kSlots - 1)) {
                const uint64_t entry = slots_[slot];
                if (entry >> kGenerationShift != currentGeneration_) break;  // empty
                if ((entry >> kCodeBits & kKeyMask) == key) {
                    prefix = static_cast<int>(entry & kCodeMask);
                    found = true;
                    break;
                }
            }
            if (found) continue;
            slots_[slot] = currentGeneration_ << kGenerationShift | uint64_t{key} << kCodeBits |
                           static_cast<uint64_t>(next);
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
