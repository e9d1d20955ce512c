#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace anitrope {

// Distinct colours of a picture in order of first appearance, each with how often it was
// seen. Colours are stored already reduced by the current mask, so coarsening the mask merges
// colours that stop being distinguishable.
class ColorCounts {
public:
    struct Entry {
        uint32_t color;
        int64_t count;
    };

    explicit ColorCounts(uint32_t mask) : mask_(mask) {}

    uint32_t Mask() const { return mask_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<Entry>& Entries() { return entries_; }
    size_t Size() const { return entries_.size(); }

    // Adds `count` to the entry for color & Mask(), appending it when new. Returns true when
    // an entry was appended.
    bool Add(uint32_t color, int64_t count);

    // ANDs every colour with the coarser mask and merges entries that became equal; a merged
    // entry stays where its first member was.
    void Coarsen(uint32_t mask);

private:
    uint32_t mask_;
    std::vector<Entry> entries_;
    std::unordered_map<uint32_t, size_t> index_;  // colour -> position in entries_
};

}  // namespace anitrope
