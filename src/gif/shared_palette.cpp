#include "gif/shared_palette.h"

#include <cstdlib>
#include <vector>

#include "model/gif.h"

namespace anitrope {
namespace {

PaletteEntry EntryOf(uint32_t rgb) {
    return {static_cast<int32_t>(rgb >> 16 & 0xFF), static_cast<int32_t>(rgb >> 8 & 0xFF),
            static_cast<int32_t>(rgb & 0xFF)};
}

// The frame's palette indices in the order a column-by-column scan first meets them.
std::vector<uint8_t> IndicesInScanOrder(const IndexedBitmap& pixels) {
    std::array<bool, kPaletteSlots> seen{};
    std::vector<uint8_t> order;
    for (int32_t x = 0; x < pixels.Width(); ++x) {
        for (int32_t y = 0; y < pixels.Height(); ++y) {
            const uint8_t index = pixels.Get(x, y);
            if (!seen[index]) order.push_back(index);
            seen[index] = true;
        }
    }
    return order;
}

}  // namespace

SharedPalette::SharedPalette(uint32_t backgroundRgb) {
    palette_[0] = EntryOf(backgroundRgb);
    count_ = 1;
}

int SharedPalette::Match(const PaletteEntry& color) const {
    for (int i = 0; i < count_; ++i) {
        if (i == transparentSlot_) continue;
        const PaletteEntry& entry = palette_[static_cast<std::size_t>(i)];
        if (std::abs(entry.red - color.red) <= kSharedPaletteTolerance &&
            std::abs(entry.green - color.green) <= kSharedPaletteTolerance &&
            std::abs(entry.blue - color.blue) <= kSharedPaletteTolerance)
            return i;
    }
    return -1;
}

int SharedPalette::Map(const Gif& frame, IndexedBitmap& target) {
    const IndexedBitmap& pixels = *frame.indexed;
    const int countBefore = count_, slotBefore = transparentSlot_;
    auto giveUp = [&] {
        for (int i = countBefore; i < count_; ++i) palette_[static_cast<std::size_t>(i)] = {};
        count_ = countBefore;
        transparentSlot_ = slotBefore;
        return kFull;
    };
    const bool transparent = frame.transparent != 0;
    if (transparent && transparentSlot_ < 0) {
        if (count_ == kPaletteSlots) return giveUp();
        transparentSlot_ = count_++;
        palette_[static_cast<std::size_t>(transparentSlot_)] = {0, 0, 0};
    }

    std::array<uint8_t, kPaletteSlots> shared{};
    for (const uint8_t index : IndicesInScanOrder(pixels)) {
        if (transparent && index == frame.transparentIndex) {
            shared[index] = static_cast<uint8_t>(transparentSlot_);
            continue;
        }
        const PaletteEntry color = EntryOf(PaletteRgb(frame.palette[index]));
        int match = Match(color);
        if (match < 0) {
            if (count_ == kPaletteSlots) return giveUp();
            match = count_++;
            palette_[static_cast<std::size_t>(match)] = color;
        }
        shared[index] = static_cast<uint8_t>(match);
    }
    for (int32_t y = 0; y < pixels.Height() && y < target.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width() && x < target.Width(); ++x)
            target.Set(x, y, shared[pixels.Get(x, y)]);
    return transparent ? transparentSlot_ : -1;
}

}  // namespace anitrope
