#include "quantize/color_counts.h"

#include <utility>

namespace anitrope {

bool ColorCounts::Add(uint32_t color, int64_t count) {
    const uint32_t masked = color & mask_;
    auto [it, inserted] = index_.try_emplace(masked, entries_.size());
    if (!inserted) {
        entries_[it->second].count += count;
        return false;
    }
    entries_.push_back({masked, count});
    return true;
}

void ColorCounts::Coarsen(uint32_t mask) {
    mask_ = mask;
    std::vector<Entry> old = std::move(entries_);
    entries_.clear();
    index_.clear();
    for (const Entry& entry : old) Add(entry.color, entry.count);
}

}  // namespace anitrope
