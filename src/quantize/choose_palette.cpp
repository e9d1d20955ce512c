#include "quantize/choose_palette.h"

#include <algorithm>
#include <array>

#include "quantize/color_counts.h"

namespace anitrope {
namespace {

// Successively coarser channel masks; counting starts at the second and stops at the last.
constexpr std::array<uint32_t, 5> kMasks{0xFFFFFF, 0xFEFEFE, 0xFCFCFC, 0xF8F8F8, 0xF0F0F0};
constexpr size_t kFirstMask = 1;
// Beyond this many distinct colours the scan drops another bit per channel.
constexpr size_t kMaxTrackedColors = 1024;
// KeepColors count this much so that they always sort first and are never cut.
constexpr int64_t kKeepColorCount = 0x3FFFFFFF;

void AddKeepColors(const KeepColors& keep, ColorCounts& counts) {
    for (int32_t color : keep) {
        if (color < 0) continue;
        // A second KeepColors slot with the same colour adds nothing: it is already first.
        if (counts.Add(static_cast<uint32_t>(color), 0)) {
            counts.Entries().back().count = kKeepColorCount;
        }
    }
}

// Counts the opaque pixels column by column. Returns false when asked to abort.
bool CountPixels(const TrueColorBitmap& pixels, const std::atomic<bool>* abort,
                 ColorCounts& counts) {
    size_t maskIndex = kFirstMask;
    for (int32_t x = 0; x < pixels.Width(); ++x) {
        if (abort && abort->load(std::memory_order_relaxed)) return false;
        for (int32_t y = 0; y < pixels.Height(); ++y) {
            const uint32_t color = pixels.Get(x, y);
            if (color & TransparentBit) continue;
            if (counts.Add(color, 1) && counts.Size() > kMaxTrackedColors &&
                maskIndex + 1 < kMasks.size()) {
                counts.Coarsen(kMasks[++maskIndex]);
            }
        }
    }
    return true;
}

// Leaves at most one palette's worth of colours, the most frequent ones. Ties keep the order
// of first appearance so that the same picture always gets the same palette. A full palette
// is sorted too: its last slot gives way to the transparent one, and that must cost the
// least frequent colour, not the one that happened to appear last.
void KeepMostFrequent(std::vector<ColorCounts::Entry>& entries) {
    if (entries.size() < kPaletteSlots) return;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.count > b.count; });
    entries.resize(kPaletteSlots);
}

void WritePalette(const std::vector<ColorCounts::Entry>& entries, Palette& palette) {
    palette = EmptyPalette();
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint32_t color = entries[i].color;
        palette[i] = {static_cast<int32_t>((color >> 16) & 0xFF),
                      static_cast<int32_t>((color >> 8) & 0xFF),
                      static_cast<int32_t>(color & 0xFF)};
    }
}

}  // namespace

int ChoosePalette(const TrueColorBitmap& pixels, const KeepColors& keep, Palette& palette,
                  const std::atomic<bool>* abort) {
    ColorCounts counts(kMasks[kFirstMask]);
    AddKeepColors(keep, counts);
    if (!CountPixels(pixels, abort, counts)) return -1;

    std::vector<ColorCounts::Entry>& entries = counts.Entries();
    KeepMostFrequent(entries);
    WritePalette(entries, palette);

    // The transparent slot follows the colours; with a full palette it displaces the last,
    // least frequent one.
    const int transparentIndex = std::min(static_cast<int>(entries.size()), kPaletteSlots - 1);
    palette[transparentIndex] = PaletteEntry{};
    return transparentIndex;
}

}  // namespace anitrope
